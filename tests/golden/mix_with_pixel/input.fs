/*{
  "INPUTS": [
    {"NAME": "inputImage", "TYPE": "image"},
    {"NAME": "amount", "TYPE": "float", "MIN": 0.0, "MAX": 1.0, "DEFAULT": 0.5}
  ]
}*/

void main() {
vec4 c = IMG_THIS_PIXEL(inputImage);
vec2 px = isf_FragNormCoord * RENDERSIZE;
gl_FragColor = mix(c, IMG_PIXEL(inputImage, px), amount * sin(TIME));
}
