#!/usr/bin/env bash
# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer;
# .ci/fuzz.sh then explores the readers of outside bytes under both.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build --preset asan -j2
ctest --preset asan -j2
