/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Cross-fades from the input image to an overlay image",
    "CATEGORIES": ["Blend"],
    "INPUTS": [
        {"NAME": "inputImage", "TYPE": "image"},
        {"NAME": "overlay", "TYPE": "image"},
        {"NAME": "amount", "TYPE": "float", "MIN": 0.0, "MAX": 1.0, "DEFAULT": 0.5}
    ]
}*/

void main() {
    vec4 a = IMG_THIS_NORM_PIXEL(inputImage);
    vec4 b = IMG_THIS_NORM_PIXEL(overlay);
    gl_FragColor = mix(a, b, amount);
}
