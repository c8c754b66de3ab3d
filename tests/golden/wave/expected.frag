// CREDIT: wave team
// ORVANE_PLUGIN_DESC("Ripples the picture over time")
// ORVANE_FLOAT_PARAM(speed, UNbv, 0, 10, 2, "No help available.")


uniform sampler2D tex0;
uniform float speed;
uniform vec2 resolution_tex0;
uniform vec2 resolution;
uniform float time;
void main(void)
{
	vec2 size = resolution_tex0;
	vec2 uv = gl_TexCoord[0].xy;
	uv.y += 0.01 * sin(uv.x * 40.0 + time * speed);
	vec4 here = texture2D(tex0, uv);
	vec4 left = texture2D(tex0, (gl_FragCoord.xy - vec2(1.0, 0.0))/resolution);
	gl_FragColor = mix(here, left, 0.5) * (resolution.x / size.x);
}
