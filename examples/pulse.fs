/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "A grey level that swings between black and white over time",
    "CATEGORIES": ["Generator"],
    "INPUTS": [
        {"NAME": "speed", "TYPE": "float", "MIN": 0.0, "MAX": 10.0, "DEFAULT": 1.0}
    ]
}*/

const float TAU = 6.2831853;

void main() {
    float level = 0.5 + 0.5 * sin(TIME * speed * TAU);
    gl_FragColor = vec4(vec3(level), 1.0);
}
