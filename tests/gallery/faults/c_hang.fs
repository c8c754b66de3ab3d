/*{ "DESCRIPTION": "six levels of calls", "INPUTS": [] }*/
float f1(float x) { return sin(x) * 0.5; }
float f2(float x) { return f1(x + 0.0) + f1(x + 1.0) + f1(x + 2.0) + f1(x + 3.0) + f1(x + 4.0) + f1(x + 5.0) + f1(x + 6.0) + f1(x + 7.0); }
float f3(float x) { return f2(x + 0.0) + f2(x + 1.0) + f2(x + 2.0) + f2(x + 3.0) + f2(x + 4.0) + f2(x + 5.0) + f2(x + 6.0) + f2(x + 7.0); }
float f4(float x) { return f3(x + 0.0) + f3(x + 1.0) + f3(x + 2.0) + f3(x + 3.0) + f3(x + 4.0) + f3(x + 5.0) + f3(x + 6.0) + f3(x + 7.0); }
float f5(float x) { return f4(x + 0.0) + f4(x + 1.0) + f4(x + 2.0) + f4(x + 3.0) + f4(x + 4.0) + f4(x + 5.0) + f4(x + 6.0) + f4(x + 7.0); }
float f6(float x) { return f5(x + 0.0) + f5(x + 1.0) + f5(x + 2.0) + f5(x + 3.0) + f5(x + 4.0) + f5(x + 5.0) + f5(x + 6.0) + f5(x + 7.0); }
void main() {
    gl_FragColor = vec4(f6(isf_FragNormCoord.x));
}
