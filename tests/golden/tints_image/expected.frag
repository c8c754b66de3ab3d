// CREDIT: by the effects group
// ORVANE_PLUGIN_DESC("Tints the image")
// ORVANE_FLOAT_PARAM(gain, laoL, 0, 2, 1, "No help available.")


uniform sampler2D tex0;
uniform float gain;
uniform float time;
void main() {
    vec4 c = texture2D(tex0, gl_TexCoord[0].xy);
    gl_FragColor = c * gain * (0.5 + 0.5 * sin(time));
}
