/*{
  "CREDIT": "wave team",
  "DESCRIPTION": "Ripples the picture over time",
  "CATEGORIES": ["Distortion"],
  "INPUTS": [
    {"NAME": "inputImage", "TYPE": "image"},
    {"NAME": "speed", "TYPE": "float", "MIN": 0.0, "MAX": 10.0, "DEFAULT": 2.0}
  ]
}*/
void main(void)
{
	vec2 size = IMG_SIZE(inputImage);
	vec2 uv = isf_FragNormCoord.xy;
	uv.y += 0.01 * sin(uv.x * 40.0 + TIME * speed);
	vec4 here = IMG_NORM_PIXEL(inputImage, uv);
	vec4 left = IMG_PIXEL(inputImage, gl_FragCoord.xy - vec2(1.0, 0.0));
	gl_FragColor = mix(here, left, 0.5) * (RENDERSIZE.x / size.x);
}
