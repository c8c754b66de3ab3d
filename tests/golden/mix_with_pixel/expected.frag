// ORVANE_FLOAT_PARAM(amount, lhG|, 0, 1, 0.5, "No help available.")


uniform sampler2D tex0;
uniform float amount;
uniform vec2 resolution;
uniform float time;

void main() {
vec4 c = texture2D(tex0, gl_TexCoord[0].xy);
vec2 px = gl_TexCoord[0].xy * resolution;
gl_FragColor = mix(c, texture2D(tex0, (px)/resolution), amount * sin(time));
}
