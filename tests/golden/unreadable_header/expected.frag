

uniform vec2 resolution;
uniform float time_delta;
void main() {
vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;

  gl_FragColor = vec4(time_delta);
}
