#!/usr/bin/env bash
# Static checks of tavoro's C++ sources: the layers' dependency rule
# (.ci/layers.py), layout (clang-format), faults and needless costs
# (clang-tidy with .clang-tidy, cppcheck). Any finding fails.
# The Windows console code is compiled only for Windows; .ci/windows.sh runs
# clang-tidy on it with the cross-compiler's headers.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
if [ ! -f "$build_dir/compile_commands.json" ]; then
  cmake -S . -B "$build_dir"
fi

python3 .ci/layers.py src

mapfile -t formatted < <(git ls-files -- 'src/*.cpp' 'src/*.hpp' 'tests/*.cpp' 'tests/*.hpp' 'tests/*.h')
echo "clang-format: ${#formatted[@]} files"
clang-format --dry-run --Werror "${formatted[@]}"

# Every source of src/ that this machine compiles, as it compiles it.
mapfile -t tidied < <(python3 - "$build_dir/compile_commands.json" <<'PY'
import json, os, sys
src = os.path.realpath("src") + os.sep
files = {os.path.realpath(os.path.join(e["directory"], e["file"])) for e in json.load(open(sys.argv[1]))}
print("\n".join(sorted(f for f in files if f.startswith(src))))
PY
)
if [ "${#tidied[@]}" -eq 0 ]; then
  echo "clang-tidy: no sources of src/ in $build_dir/compile_commands.json" >&2
  exit 1
fi
echo "clang-tidy: ${#tidied[@]} files"
printf '%s\0' "${tidied[@]}" | xargs -0 -n 1 -P 2 clang-tidy -p "$build_dir" --quiet

echo "cppcheck: src"
cppcheck --enable=warning,performance,portability --std=c++20 --language=c++ \
  --error-exitcode=1 --inline-suppr --suppress=missingIncludeSystem -q -I src src

echo "lint: ok"
