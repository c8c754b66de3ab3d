#!/usr/bin/env bash
# Writes a library of COUNT (default 300) varied ISF shaders into FOLDER for
# timing isf2orvy-gallery: generators, image filters, points, clocks, frame
# counters, multi-line image calls, and shaders that fail to compile, are
# refused or have an unreadable header, in about the proportions of a public
# collection. Usage: bash bench/make_gallery_library.sh FOLDER [COUNT]
set -euo pipefail
folder="$1"
count="${2:-300}"
mkdir -p "$folder"

shader() {  # index kind
  local i="$1" kind="$2" f
  f="$folder/$(printf 'shader_%04d' "$i")_$kind.fs"
  local a b
  a="$(( i % 7 + 1 )).$(( i % 10 ))"
  b="0.$(( (i * 37) % 90 + 10 ))"
  case "$kind" in
    plasma) cat > "$f" <<SHADER
/*{ "CREDIT": "bench", "DESCRIPTION": "Plasma $i", "CATEGORIES": ["Generator"],
  "INPUTS": [ {"NAME": "speed", "TYPE": "float", "MIN": 0.0, "MAX": 4.0, "DEFAULT": $a},
              {"NAME": "scale", "TYPE": "float", "MIN": 1.0, "MAX": 20.0, "DEFAULT": $a} ] }*/
void main() {
    vec2 p = isf_FragNormCoord * scale;
    float v = sin(p.x + TIME * speed) + sin(p.y * $b + TIME) + sin((p.x + p.y) * 0.5);
    gl_FragColor = vec4(0.5 + 0.5 * sin(v), 0.5 + 0.5 * cos(v * $b), $b, 1.0);
}
SHADER
    ;;
    tint) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Tint $i", "CATEGORIES": ["Color Effect"],
  "INPUTS": [ {"NAME": "inputImage", "TYPE": "image"},
              {"NAME": "tint", "TYPE": "color", "DEFAULT": [$b, 0.5, 0.25, 1.0]},
              {"NAME": "invert", "TYPE": "bool", "DEFAULT": $(( i % 2 ))} ] }*/
void main() {
    vec4 c = IMG_THIS_PIXEL(inputImage) * tint;
    gl_FragColor = invert ? vec4(1.0 - c.rgb, c.a) : c;
}
SHADER
    ;;
    blur) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Blur $i", "CATEGORIES": ["Blur"],
  "INPUTS": [ {"NAME": "inputImage", "TYPE": "image"},
              {"NAME": "radius", "TYPE": "float", "MIN": 0.0, "MAX": 10.0, "DEFAULT": $a} ] }*/
void main() {
    vec2 px = radius / RENDERSIZE;
    vec4 sum = IMG_NORM_PIXEL(inputImage,
                              isf_FragNormCoord + vec2(px.x, 0.0))
             + IMG_NORM_PIXEL(inputImage,
                              isf_FragNormCoord - vec2(px.x, 0.0))
             + IMG_PIXEL(inputImage, gl_FragCoord.xy + vec2(0.0, radius))
             + IMG_THIS_PIXEL(inputImage);
    gl_FragColor = sum / 4.0;
}
SHADER
    ;;
    rings) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Rings $i", "CATEGORIES": ["Pattern"],
  "INPUTS": [ {"NAME": "center", "TYPE": "point2D", "DEFAULT": [0.5, 0.$(( i % 9 + 1 ))]},
              {"NAME": "count", "TYPE": "long", "VALUES": [2, 4, 8], "LABELS": ["2", "4", "8"], "DEFAULT": 1} ] }*/
void main() {
    float d = distance(isf_FragNormCoord, center);
    float k = float(count + 1) * 6.0;
    gl_FragColor = vec4(vec3(step(0.5, fract(d * k - TIME * $b))), 1.0);
}
SHADER
    ;;
    clock) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Clock $i", "CATEGORIES": ["Utility"] }*/
void main() {
    float day = DATE.w / 86400.0;
    gl_FragColor = vec4(step(isf_FragNormCoord.x, day), DATE.y / 12.0, $b, 1.0);
}
SHADER
    ;;
    frames) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Frames $i", "INPUTS": [ {"NAME": "flash", "TYPE": "event"} ] }*/
void main() {
    float f = mod(float(FRAMEINDEX), 24.0) / 24.0;
    gl_FragColor = flash != 0 ? vec4(1.0) : vec4(f, isf_FragNormCoord.y, TIMEDELTA * 10.0, 1.0);
}
SHADER
    ;;
    checker) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Checker $i", "CATEGORIES": ["Pattern"],
  "INPUTS": [ {"NAME": "cells", "TYPE": "int", "MIN": 1, "MAX": 32, "DEFAULT": $(( i % 16 + 2 ))} ] }*/
void main() {
    vec2 cell = floor(gl_FragCoord.xy / RENDERSIZE * float(cells));
    gl_FragColor = vec4(vec3(mod(cell.x + cell.y, 2.0)), 1.0);
}
SHADER
    ;;
    intfloat) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Fails $i: an int for a float" }*/
void main() {
    float level = $(( i % 3 ));
    gl_FragColor = vec4(level * isf_FragNormCoord.x);
}
SHADER
    ;;
    audio) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Fails $i: audio input",
  "INPUTS": [ {"NAME": "spectrum", "TYPE": "audioFFT"} ] }*/
void main() {
    gl_FragColor = texture2D(spectrum, vec2(isf_FragNormCoord.x, 0.0));
}
SHADER
    ;;
    passes) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Two passes $i", "PASSES": [ {"TARGET": "a"}, {} ] }*/
void main() { gl_FragColor = vec4($b); }
SHADER
    ;;
    vertex) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Vertex $i" }*/
varying vec2 uv;
void main() { gl_FragColor = vec4(uv, $b, 1.0); }
SHADER
      printf 'varying vec2 uv;\nvoid main() { uv = gl_MultiTexCoord0.xy; gl_Position = ftransform(); }\n' \
        > "${f%.fs}.vs"
    ;;
    badheader) cat > "$f" <<SHADER
/*{ "DESCRIPTION": "Unreadable header $i", }*/
void main() { gl_FragColor = vec4(isf_FragNormCoord, $b, 1.0); }
SHADER
    ;;
  esac
}

kinds=(plasma tint blur rings clock frames checker intfloat audio passes vertex badheader
       plasma tint checker blur)
for ((i = 0; i < count; i++)); do
  shader "$i" "${kinds[i % ${#kinds[@]}]}"
done
echo "$count shaders in $folder"
