/*{
  "\u0050ASSES": [{"TARGET": "buffer"}]
}*/
void main() { gl_FragColor = vec4(0.0); }
