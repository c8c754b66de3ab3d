/*{ "DESCRIPTION": "a huge array", "INPUTS": [] }*/
float a[10000000];
void main() {
    a[int(isf_FragNormCoord.x * 9.0)] = 1.0;
    gl_FragColor = vec4(a[3]);
}
