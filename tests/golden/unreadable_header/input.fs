/*{
  "DESCRIPTION": "trailing comma",
  "INPUTS": [],
}*/
void main() {
  gl_FragColor = vec4(TIMEDELTA);
}
