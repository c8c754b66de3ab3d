

uniform vec2 resolution;
uniform float time;
void main() {
vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;

	gl_FragColor = vec4(isf_FragNormCoord, fract(time), 1.0);
}
