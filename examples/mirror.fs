/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Mirrors the input image left to right or top to bottom",
    "CATEGORIES": ["Geometry Adjustment"],
    "INPUTS": [
        {"NAME": "inputImage", "TYPE": "image"},
        {"NAME": "axis", "TYPE": "long", "VALUES": [0, 1], "LABELS": ["Left to right", "Top to bottom"], "DEFAULT": 0}
    ]
}*/

void main() {
    vec2 uv = isf_FragNormCoord;
    if (axis == 0)
        uv.x = 1.0 - uv.x;
    else
        uv.y = 1.0 - uv.y;
    gl_FragColor = IMG_NORM_PIXEL(inputImage, uv);
}
