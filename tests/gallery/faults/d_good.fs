/*{
    "CREDIT": "isf2orvy examples",
    "DESCRIPTION": "A red bar for the part of the day that has passed; green is the month, blue the day",
    "CATEGORIES": ["Utility"],
    "INPUTS": []
}*/
void main() {
    float dayPassed = DATE.w / 86400.0;
    float bar = isf_FragNormCoord.x < dayPassed ? 1.0 : 0.0;
    gl_FragColor = vec4(bar, DATE.y / 12.0, DATE.z / 31.0, 1.0);
}
