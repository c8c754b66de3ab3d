/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "Red steps with the frame number, green shows the frame rate, an event flashes white",
    "CATEGORIES": ["Utility"],
    "INPUTS": [
        {"NAME": "flash", "TYPE": "event"}
    ]
}*/

void main() {
    // Red: 0, 1/3, 2/3, 1 over four frames, then again.
    float phase = mod(float(FRAMEINDEX), 4.0) / 3.0;
    // Green: the frame rate, 120 frames per second giving full green.
    float rate = TIMEDELTA > 0.0 ? 1.0 / TIMEDELTA : 0.0;
    vec4 normal = vec4(phase, clamp(rate / 120.0, 0.0, 1.0), 0.0, 1.0);
    gl_FragColor = flash == 1 ? vec4(1.0) : normal;
}
