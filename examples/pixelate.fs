/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Shows the input image as square blocks of one colour each",
    "CATEGORIES": ["Stylize"],
    "INPUTS": [
        {"NAME": "inputImage", "TYPE": "image"},
        {"NAME": "cellSize", "TYPE": "float", "MIN": 1.0, "MAX": 64.0, "DEFAULT": 8.0}
    ]
}*/

void main() {
    // Every pixel of a block takes the colour of the block's lower left pixel.
    vec2 corner = floor(gl_FragCoord.xy / cellSize) * cellSize + 0.5;
    corner = min(corner, IMG_SIZE(inputImage) - 0.5);
    gl_FragColor = IMG_PIXEL(inputImage, corner);
}
