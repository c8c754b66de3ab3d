/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Fills the whole frame with one colour",
    "CATEGORIES": ["Generator"],
    "INPUTS": [
        {"NAME": "fillColor", "TYPE": "color", "DEFAULT": [1.0, 0.5, 0.0, 1.0]}
    ]
}*/

void main(void) {
    gl_FragColor = fillColor;
}
