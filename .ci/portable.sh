#!/usr/bin/env bash
# A second build of tavoro by clang against libc++, the C++ library of
# macOS, to keep the terminal build free of what only g++ and glibc's C++
# library accept; its program must then answer every piped session of the
# transcripts byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build-libcxx
cmake -S . -B "$build_dir" \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS=-stdlib=libc++ \
  -DCMAKE_EXE_LINKER_FLAGS=-stdlib=libc++ \
  -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF
cmake --build "$build_dir" -j2 --target tavoro
program="$build_dir/tavoro"

libraries=$(ldd "$program")
if ! grep -q 'libc++\.so' <<<"$libraries" || grep -q 'libstdc++' <<<"$libraries"; then
  echo "$program is not linked against libc++ alone:" >&2
  echo "$libraries" >&2
  exit 1
fi

sessions=0
for input in tests/golden/*.in; do
  name=$(basename "$input" .in)
  arguments=
  case $name in lunar_*) arguments=--lunar ;; esac  # sessions of tavoro --lunar
  LC_ALL=C.UTF-8 cmake -DPROGRAM="$program" -DARGUMENTS="$arguments" -DINPUT="$input" \
    -DEXPECTED="tests/golden/$name.out" -DACTUAL="$build_dir/golden/$name.actual" \
    -P tests/run_golden.cmake
  sessions=$((sessions + 1))
done
echo "portable: clang with libc++ answers ${sessions} transcripts byte for byte"
