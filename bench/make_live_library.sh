#!/usr/bin/env bash
# Writes a library of COUNT (default 320) ISF shaders into FOLDER that lean on
# what differs between the host's OpenGL and a browser's WebGL 2: float hash
# noise, fractal sums in loops, polar coordinates, matrices, structs, arrays
# indexed in loops, global initializers, texture lookups with a bias,
# integer arithmetic, the fixed-function texture coordinate, the date and the
# frame index. For measuring the gallery's live views against the thumbnails:
#   bash bench/make_live_library.sh FOLDER [COUNT]
set -euo pipefail
folder="$1"
count="${2:-320}"
mkdir -p "$folder"

shader() {  # index kind
  local i="$1" kind="$2" f a b n
  f="$folder/$(printf 'live_%04d' "$i")_$kind.fs"
  a="$(( i % 7 + 1 )).$(( i % 10 ))"
  b="0.$(( (i * 37) % 90 + 10 ))"
  n="$(( i % 5 + 2 ))"
  case "$kind" in
    hash) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Hash noise $i", "INPUTS": [ {"NAME": "scale", "TYPE": "float", "MIN": 1.0, "MAX": 200.0, "DEFAULT": $a$n} ] }*/
float hash(vec2 p) { return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453); }
void main() {
    vec2 cell = floor(isf_FragNormCoord * scale);
    gl_FragColor = vec4(vec3(hash(cell + $b)), 1.0);
}
SHADER
    ;;
    fbm) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Fractal noise $i", "INPUTS": [ {"NAME": "octaves", "TYPE": "long", "MIN": 1, "MAX": 8, "DEFAULT": $n},
  {"NAME": "zoom", "TYPE": "float", "MIN": 0.5, "MAX": 16.0, "DEFAULT": $a} ] }*/
float hash(vec2 p) { return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453123); }
float noise(vec2 p) {
    vec2 i = floor(p);
    vec2 f = fract(p);
    vec2 u = f * f * (3.0 - 2.0 * f);
    return mix(mix(hash(i), hash(i + vec2(1.0, 0.0)), u.x),
               mix(hash(i + vec2(0.0, 1.0)), hash(i + vec2(1.0, 1.0)), u.x), u.y);
}
void main() {
    vec2 p = isf_FragNormCoord * zoom;
    float sum = 0.0;
    float amp = 0.5;
    for (int k = 0; k < 8; k++) {
        if (k >= octaves) break;
        sum += amp * noise(p + TIME * $b);
        p *= 2.0;
        amp *= 0.5;
    }
    gl_FragColor = vec4(sum, sum * sum, 1.0 - sum, 1.0);
}
SHADER
    ;;
    polar) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Polar $i", "INPUTS": [ {"NAME": "center", "TYPE": "point2D", "MIN": [0.0, 0.0], "MAX": [1.0, 1.0], "DEFAULT": [0.5, $b]},
  {"NAME": "arms", "TYPE": "float", "MIN": 1.0, "MAX": 12.0, "DEFAULT": $n.0} ] }*/
const float PI = 3.14159265;
void main() {
    vec2 d = isf_FragNormCoord - center;
    float angle = atan(d.y, d.x);
    float radius = length(d);
    float v = 0.5 + 0.5 * cos(angle * arms + log(radius + 0.01) * 4.0 - TIME);
    gl_FragColor = vec4(v, pow(radius, 0.5), angle / (2.0 * PI) + 0.5, 1.0);
}
SHADER
    ;;
    matrix) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Rotated grid $i", "INPUTS": [ {"NAME": "angle", "TYPE": "float", "MIN": -3.2, "MAX": 3.2, "DEFAULT": $b},
  {"NAME": "lines", "TYPE": "color", "DEFAULT": [1.0, $b, 0.2, 1.0]} ] }*/
mat2 rotation(float a) { return mat2(cos(a), sin(a), -sin(a), cos(a)); }
void main() {
    vec2 p = rotation(angle) * (gl_FragCoord.xy - RENDERSIZE * 0.5) / $n.0;
    vec2 g = abs(fract(p / 8.0) - 0.5);
    float line = smoothstep(0.05, 0.0, min(g.x, g.y));
    gl_FragColor = mix(vec4(0.0, 0.0, 0.1, 1.0), lines, line);
}
SHADER
    ;;
    structs) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Circles $i", "INPUTS": [ {"NAME": "softness", "TYPE": "float", "MIN": 0.0, "MAX": 0.2, "DEFAULT": 0.0$n} ] }*/
struct Circle { vec2 center; float radius; vec3 colour; };
float cover(Circle c, vec2 p) { return 1.0 - smoothstep(c.radius - softness, c.radius, distance(p, c.center)); }
void main() {
    Circle circles[3];
    circles[0] = Circle(vec2(0.3, 0.3), 0.2, vec3(1.0, 0.2, 0.1));
    circles[1] = Circle(vec2(0.6, 0.5), 0.25, vec3(0.1, 0.8, 0.3));
    circles[2] = Circle(vec2(0.4, 0.7), 0.15 + $b * 0.1, vec3(0.2, 0.3, 1.0));
    vec3 c = vec3(0.0);
    for (int k = 0; k < 3; k++) c += circles[k].colour * cover(circles[k], isf_FragNormCoord);
    gl_FragColor = vec4(c, 1.0);
}
SHADER
    ;;
    warp) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Warp $i", "INPUTS": [ {"NAME": "inputImage", "TYPE": "image"},
  {"NAME": "amount", "TYPE": "float", "MIN": 0.0, "MAX": 0.2, "DEFAULT": 0.0$n} ] }*/
void main() {
    vec2 uv = isf_FragNormCoord;
    uv += amount * vec2(sin(uv.y * 12.0 + TIME), cos(uv.x * 9.0 + TIME * $b));
    gl_FragColor = IMG_NORM_PIXEL(inputImage, uv);
}
SHADER
    ;;
    kernel) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Edges $i", "INPUTS": [ {"NAME": "inputImage", "TYPE": "image"},
  {"NAME": "strength", "TYPE": "float", "MIN": 0.0, "MAX": 4.0, "DEFAULT": $a} ] }*/
void main() {
    float weights[9];
    weights[0] = -1.0; weights[1] = -1.0; weights[2] = -1.0;
    weights[3] = -1.0; weights[4] = 8.0; weights[5] = -1.0;
    weights[6] = -1.0; weights[7] = -1.0; weights[8] = -1.0;
    vec4 sum = vec4(0.0);
    for (int k = 0; k < 9; k++) {
        vec2 offset = vec2(float(k - (k / 3) * 3 - 1), float(k / 3 - 1)) * $n.0;
        sum += weights[k] * IMG_PIXEL(inputImage, gl_FragCoord.xy + offset);
    }
    gl_FragColor = vec4(abs(sum.rgb) * strength, 1.0);
}
SHADER
    ;;
    texcoord) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Bias and coordinates $i", "INPUTS": [ {"NAME": "inputImage", "TYPE": "image"},
  {"NAME": "mirror", "TYPE": "bool", "DEFAULT": $(( i % 2 ))} ] }*/
void main() {
    vec2 uv = isf_FragNormCoord;
    if (mirror) uv.x = 1.0 - uv.x;
    vec4 c = texture2D(inputImage, uv, 0.0);
    gl_FragColor = vec4(c.bgr, 1.0) * vec4(vec3(1.0), $b);
}
SHADER
    ;;
    globals) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Globals $i", "INPUTS": [ {"NAME": "level", "TYPE": "float", "MIN": 0.0, "MAX": 1.0, "DEFAULT": $b} ] }*/
const vec3 warm = vec3(1.0, 0.6, 0.2);
const vec3 cold = vec3(0.1, 0.3, 0.9);
float bands = $n.0;
vec3 shade(float t) { return mix(cold, warm, t); }
void main() {
    float t = floor(isf_FragNormCoord.x * bands) / bands;
    gl_FragColor = vec4(shade(t) * (0.5 + level), 1.0);
}
SHADER
    ;;
    integers) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Integers $i", "INPUTS": [ {"NAME": "divisions", "TYPE": "long", "MIN": 1, "MAX": 16, "DEFAULT": $n},
  {"NAME": "flash", "TYPE": "event"} ] }*/
void main() {
    int x = int(gl_FragCoord.x) / (4 * divisions);
    int y = int(gl_FragCoord.y) / (4 * divisions);
    int k = x + y * 3;
    float v = float(k - (k / 5) * 5) / 4.0;
    gl_FragColor = flash == 1 ? vec4(1.0) : vec4(v, float(FRAMEINDEX) / 100.0, $b, 1.0);
}
SHADER
    ;;
    date) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Clock face $i" }*/
void main() {
    vec2 d = isf_FragNormCoord - 0.5;
    float seconds = mod(DATE.w, 60.0);
    float hand = atan(d.x, d.y) / 6.2831853 + 0.5;
    float on = step(hand, seconds / 60.0) * step(length(d), 0.45);
    gl_FragColor = vec4(on, mod(DATE.z, 31.0) / 31.0, TIMEDELTA * $n.0, 1.0);
}
SHADER
    ;;
    raymarch) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Sphere $i", "INPUTS": [ {"NAME": "light", "TYPE": "point2D", "MIN": [-1.0, -1.0], "MAX": [1.0, 1.0], "DEFAULT": [0.$n, $b]} ] }*/
float scene(vec3 p) { return length(p - vec3(0.0, 0.0, 3.0)) - 1.0; }
vec3 normalAt(vec3 p) {
    vec2 e = vec2(0.001, 0.0);
    return normalize(vec3(scene(p + e.xyy) - scene(p - e.xyy), scene(p + e.yxy) - scene(p - e.yxy),
                          scene(p + e.yyx) - scene(p - e.yyx)));
}
void main() {
    vec2 uv = (gl_FragCoord.xy - 0.5 * RENDERSIZE) / RENDERSIZE.y;
    vec3 dir = normalize(vec3(uv, 1.0));
    float t = 0.0;
    for (int k = 0; k < 48; k++) {
        float d = scene(dir * t);
        if (d < 0.001) break;
        t += d;
    }
    vec3 c = vec3(0.0);
    if (t < 10.0) c = vec3(max(dot(normalAt(dir * t), normalize(vec3(light, -1.0))), 0.0));
    gl_FragColor = vec4(c, 1.0);
}
SHADER
    ;;
    feedback) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Two images $i", "INPUTS": [ {"NAME": "inputImage", "TYPE": "image"}, {"NAME": "second", "TYPE": "image"},
  {"NAME": "split", "TYPE": "float", "MIN": 0.0, "MAX": 1.0, "DEFAULT": $b} ] }*/
void main() {
    vec2 uv = isf_FragNormCoord;
    vec4 a = IMG_NORM_PIXEL(inputImage, uv);
    vec4 b = IMG_NORM_PIXEL(second, vec2(1.0) - uv);
    gl_FragColor = uv.x < split ? a : b * vec4(IMG_SIZE(second) / RENDERSIZE, 1.0, 1.0);
}
SHADER
    ;;
    alpha) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Alpha ramp $i", "INPUTS": [ {"NAME": "tint", "TYPE": "color", "DEFAULT": [$b, 0.4, 0.9, 0.5]} ] }*/
void main() {
    gl_FragColor = vec4(tint.rgb, tint.a * isf_FragNormCoord.y) + vec4(0.0, 0.0, 0.0, $b * 0.1);
}
SHADER
    ;;
    reserved) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "A name WebGL 2 reserves $i" }*/
void main() {
    float sample = isf_FragNormCoord.x * $b;
    gl_FragColor = vec4(vec3(sample), 1.0);
}
SHADER
    ;;
  esac
}

kinds=(hash fbm polar matrix structs warp kernel texcoord globals integers date raymarch feedback
       alpha hash fbm reserved warp polar kernel)
for ((i = 0; i < count; i++)); do
  shader "$i" "${kinds[i % ${#kinds[@]}]}"
done
echo "$count shaders in $folder"
