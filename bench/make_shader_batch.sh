#!/usr/bin/env bash
# Fills FOLDER with COUNT (default 360) small real shaders for timing batch
# runs: the examples and the golden inputs, copied over and over under new
# names. Usage: bash bench/make_shader_batch.sh FOLDER [COUNT]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$1"
python3 - "$root" "$1" "${2:-360}" <<'PY'
import glob, os, shutil, sys
root, folder, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
sources = sorted(glob.glob(root + "/examples/*.fs")) + sorted(glob.glob(root + "/tests/golden/*/input.fs"))
for i in range(count):
    source = sources[i % len(sources)]
    name = os.path.basename(os.path.dirname(source)) + "_" + os.path.basename(source)
    shutil.copyfile(source, "%s/%05d_%s" % (folder, i, name))
PY
