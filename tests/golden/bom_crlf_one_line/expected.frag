// ORVANE_PLUGIN_DESC("saved by a Windows editor")


uniform vec2 resolution;
void main(){vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;

gl_FragColor = vec4(resolution, 0.0, 1.0);}
