/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "A black and white checkerboard of 2, 4 or 8 cells across",
    "CATEGORIES": ["Generator", "Pattern"],
    "INPUTS": [
        {"NAME": "cells", "TYPE": "long", "VALUES": [0, 1, 2], "LABELS": ["Two", "Four", "Eight"], "DEFAULT": 1}
    ]
}*/

// Both are declared ahead of their definitions.
void main();
float checker(vec2 p, float count);

void main() {
    vec2 uv = gl_FragCoord.xy / RENDERSIZE;
    float count = pow(2.0, float(cells) + 1.0);
    gl_FragColor = vec4(vec3(checker(uv, count)), 1.0);
}

float checker(vec2 p, float count) {
    vec2 cell = floor(p * count);
    return mod(cell.x + cell.y, 2.0);
}
