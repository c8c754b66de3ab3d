/*{
"CREDIT": "by the effects group",
"DESCRIPTION": "Tints the image",
"CATEGORIES": ["Color"],
"INPUTS": [ {"NAME": "inputImage", "TYPE": "image"}, {"NAME": "gain", "TYPE": "float", "MIN": 0.0, "MAX": 2.0, "DEFAULT": 1.0} ]
}*/
void main() {
    vec4 c = IMG_THIS_PIXEL(inputImage);
    gl_FragColor = c * gain * (0.5 + 0.5 * sin(TIME));
}
