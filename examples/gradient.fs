/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Red grows from left to right, green from bottom to top",
    "CATEGORIES": ["Generator"],
    "INPUTS": [
        {"NAME": "blue", "TYPE": "float", "MIN": 0.0, "MAX": 1.0, "DEFAULT": 0.25}
    ]
}*/

void main() {
    gl_FragColor = vec4(isf_FragNormCoord.x, isf_FragNormCoord.y, blue, 1.0);
}
