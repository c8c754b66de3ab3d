/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "A round spot of light on black",
    "CATEGORIES": ["Generator"],
    "INPUTS": [
        {"NAME": "center", "TYPE": "point2D", "MIN": [0.0, 0.0], "MAX": [1.0, 1.0], "DEFAULT": [0.25, 0.75]},
        {"NAME": "radius", "TYPE": "float", "MIN": 0.0, "MAX": 1.0, "DEFAULT": 0.2},
        {"NAME": "lightColor", "TYPE": "color", "DEFAULT": [1.0, 1.0, 0.0, 1.0]}
    ]
}*/

void main() {
    float d = distance(isf_FragNormCoord, center);
    gl_FragColor = d < radius ? lightColor : vec4(0.0, 0.0, 0.0, 1.0);
}
