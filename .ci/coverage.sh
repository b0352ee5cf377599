#!/usr/bin/env bash
# Line and branch coverage of src/ by the whole suite, printed, not a gate.
# Branches that only the compiler makes are left out: those of exceptions
# (--exclude-throw-branches) and those gcov cannot reach
# (--exclude-unreachable-branches).
set -euo pipefail
cd "$(dirname "$0")/.."
rm -rf build-coverage
cmake --preset coverage
cmake --build --preset coverage
ctest --preset coverage
# Lines of each file, then the totals of lines and branches.
gcovr --root . --filter 'src/' --exclude-throw-branches --exclude-unreachable-branches \
  --print-summary --txt build-coverage/coverage.txt build-coverage
sed -n '/^File/,$p' build-coverage/coverage.txt
