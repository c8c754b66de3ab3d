/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Needs its own vertex shader (vertex_wave.vs), which the host cannot run",
    "CATEGORIES": ["Distortion Effect"],
    "INPUTS": [
        {"NAME": "inputImage", "TYPE": "image"}
    ]
}*/

varying vec2 waveCoord;

void main() {
    gl_FragColor = IMG_NORM_PIXEL(inputImage, waveCoord);
}
