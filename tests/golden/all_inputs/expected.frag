// ORVANE_PLUGIN_DESC("Every kind of input")
// ORVANE_INT_PARAM_ONOFF(invert, }eJ_, 1, "No help available.")
// ORVANE_INT_PARAM(flash, At}y, 0, 1, 0, "No help available.")
// ORVANE_FLOAT_PARAM(gain, laoL, 0, 2.5, 0.75, "No help available.")
// ORVANE_FLOAT_PARAM(level, M*EO, -1000000, +1000000, 0, "No help available.")
// ORVANE_INT_PARAM(mode, aZHp, 0, 2, 1, "No help available.")
// ORVANE_VEC4_COLOR_PARAM(tint, s-XL, 0xFFFF7F00, "No help available.")
// ORVANE_FLOAT_PARAM(center_x, tvT}, 0, 1, 0.5, "No help available.")
// ORVANE_FLOAT_PARAM(center_y, }%&g, 0, 1, 0.25, "No help available.")

#define center vec2(center_x,center_y)

uniform sampler2D tex0;
uniform bool invert;
uniform int flash;
uniform float gain;
uniform float level;
uniform int mode;
uniform vec4 tint;
uniform float center_x;
uniform float center_y;
void main() {
	vec4 c = texture2D(tex0, center) * gain * level + tint * float(mode + flash);
	gl_FragColor = invert ? vec4(1.0) - c : c;
}
