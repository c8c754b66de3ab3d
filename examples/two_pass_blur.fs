/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Blurs across, then down, in two render passes",
    "CATEGORIES": ["Blur"],
    "INPUTS": [
        {"NAME": "inputImage", "TYPE": "image"}
    ],
    "PASSES": [
        {"TARGET": "acrossPass"},
        {}
    ]
}*/

vec4 blur3(sampler2D image, vec2 uv, vec2 offset) {
    return 0.25 * texture2D(image, uv - offset) + 0.5 * texture2D(image, uv)
         + 0.25 * texture2D(image, uv + offset);
}

void main() {
    vec2 uv = isf_FragNormCoord;
    if (PASSINDEX == 0)
        gl_FragColor = blur3(inputImage, uv, vec2(1.0 / RENDERSIZE.x, 0.0));
    else
        gl_FragColor = blur3(acrossPass, uv, vec2(0.0, 1.0 / RENDERSIZE.y));
}
