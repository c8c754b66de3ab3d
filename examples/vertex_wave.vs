varying vec2 waveCoord;

void main() {
    isf_vertShaderInit();
    waveCoord = isf_FragNormCoord + vec2(0.0, 0.02 * sin(isf_FragNormCoord.x * 20.0 + TIME));
}
