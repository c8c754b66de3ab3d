/*{ "DESCRIPTION": "A global variable set from the time: GLSL 1.10 runs it, GLSL ES 3.00 wants a constant" }*/
float phase = TIME * 2.0;
void main() {
    gl_FragColor = vec4(vec3(fract(phase)), 1.0);
}
