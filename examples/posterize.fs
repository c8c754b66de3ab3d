/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Reduces every colour channel of the input image to a few levels",
    "CATEGORIES": ["Color Effect"],
    "INPUTS": [
        {"NAME": "inputImage", "TYPE": "image"},
        {"NAME": "levels", "TYPE": "int", "MIN": 2, "MAX": 16, "DEFAULT": 4}
    ]
}*/

void main() {
    vec4 c = IMG_NORM_PIXEL(inputImage, isf_FragNormCoord.xy);
    float n = float(levels);
    vec3 q = min(floor(c.rgb * n), n - 1.0) / (n - 1.0);
    gl_FragColor = vec4(q, c.a);
}
