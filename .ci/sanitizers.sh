#!/usr/bin/env bash
# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# then a longer run of random hostile input through the program.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan
cmake --build --preset asan -j2
ctest --preset asan -j2

# Bounded: FUZZ_RUNS inputs from FUZZ_SEED; a failing input is kept in
# build-asan/hostile-SEED-RUN.in for replay.
runs=${FUZZ_RUNS:-5000}
seed=${FUZZ_SEED:-20240229}
echo "random hostile input: ${runs} runs, seed ${seed}"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && python3 ../tests/hostile/hostile.py fuzz ./tavoro "${runs}" "${seed}")
echo "fuzz: ${runs} passed, 0 failed"
