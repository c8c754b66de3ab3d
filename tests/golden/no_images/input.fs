/*{
}*/
void main() {
	gl_FragColor = vec4(isf_FragNormCoord, fract(TIME), 1.0);
}
