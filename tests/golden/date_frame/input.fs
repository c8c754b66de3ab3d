/*{"DESCRIPTION": "two lines\nof text", "CREDIT": "me\r\nyou"}*/
#define SPEED 2.0
float mainImage(float t) { return fract(t * SPEED); }
void main();
// main entry
void main ( )
{
	gl_FragColor = vec4(DATE.w, float(FRAMEINDEX), mainImage(TIME), 1.0);
}
