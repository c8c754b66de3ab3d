/*{ "DESCRIPTION": "saved by a Windows editor" }*/
void main(){gl_FragColor = vec4(RENDERSIZE, 0.0, 1.0);}
