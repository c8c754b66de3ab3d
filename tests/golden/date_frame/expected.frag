// CREDIT: me you
// ORVANE_PLUGIN_DESC("two lines of text")


uniform vec2 resolution;
uniform float time;
uniform vec4 iDate;
uniform int iFrame;
#define SPEED 2.0
float mainImage(float t) { return fract(t * SPEED); }
void main();
// main entry
void main ( )
{
vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;

	gl_FragColor = vec4(iDate.w, float(iFrame), mainImage(time), 1.0);
}
