/*{
  "DESCRIPTION": "Every kind of input",
  "INPUTS": [
    {"NAME": "photo", "TYPE": "image"},
    {"NAME": "invert", "TYPE": "bool", "DEFAULT": 1},
    {"NAME": "flash", "TYPE": "event"},
    {"NAME": "gain", "TYPE": "float", "MIN": 0, "MAX": 2.5, "DEFAULT": 0.75},
    {"NAME": "level", "TYPE": "FLOAT"},
    {"NAME": "mode", "TYPE": "long", "LABELS": ["a", "b", "c"], "DEFAULT": 1},
    {"NAME": "tint", "TYPE": "color", "DEFAULT": [1.0, 0.5, 0.0, 1.0]},
    {"NAME": "center", "TYPE": "point2D", "MIN": [0, 0], "MAX": [1, 1], "DEFAULT": [0.5, 0.25]},
    {"NAME": "spectrum", "TYPE": "spectrum"}
  ]
}*/
void main() {
	vec4 c = IMG_NORM_PIXEL(photo, center) * gain * level + tint * float(mode + flash);
	gl_FragColor = invert ? vec4(1.0) - c : c;
}
