/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Inverts the colours of the input image",
    "CATEGORIES": ["Color Effect"],
    "INPUTS": [
        {"NAME": "inputImage", "TYPE": "image"},
        {"NAME": "invert", "TYPE": "bool", "DEFAULT": 1}
    ]
}*/

void main() {
    vec4 c = IMG_THIS_PIXEL(inputImage);
    gl_FragColor = invert ? vec4(1.0 - c.rgb, c.a) : c;
}
