#!/usr/bin/env bash
# The readers of bytes from outside tavoro under libFuzzer, with
# AddressSanitizer and UndefinedBehaviorSanitizer: each target for
# FUZZ_SECONDS (30) from a seed corpus of the transcripts and of what the
# terminal sessions type. An input that breaks a property, crashes, leaks or
# hangs fails the run and is kept in tests/fuzz/regressions/TARGET/, which
# ctest replays from then on: commit it with the fix.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
targets=(answers terminal_reports whole_key gbk_encoding)

cmake --preset fuzz -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build --preset fuzz -j2 --target "${targets[@]/#/fuzz_}"

# The seeds, made afresh: every transcript, and every string the terminal
# sessions send (keys, answers, the terminal's reports).
seeds=build-fuzz/seeds
rm -rf "$seeds"
mkdir -p "$seeds"
cp tests/golden/* "$seeds"/
python3 - tests/terminal/sessions.py "$seeds" <<'PY'
import ast, sys
source, seeds = sys.argv[1:]
strings = {node.value for node in ast.walk(ast.parse(open(source).read()))
           if isinstance(node, ast.Constant) and isinstance(node.value, str) and node.value}
for number, text in enumerate(sorted(strings)):
    open(f"{seeds}/session-{number}", "wb").write(text.encode())
PY

failed=()
for target in "${targets[@]}"; do
  kept=tests/fuzz/regressions/$target
  corpus=build-fuzz/corpus/$target
  mkdir -p "$kept" "$corpus"
  echo "fuzz_$target: ${seconds} s"
  if ! build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$kept/" "$corpus" "$seeds"; then
    failed+=("$target")
  fi
  rmdir --ignore-fail-on-non-empty "$kept" "$(dirname "$kept")"
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}; the inputs are kept in tests/fuzz/regressions/" >&2
  exit 1
fi
echo "fuzz: no finding in ${#targets[@]} targets"
