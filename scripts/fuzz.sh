#!/usr/bin/env bash
# Builds the command-language fuzz target with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on), replays the inputs kept in fuzz/regressions/, then fuzzes for
# FUZZ_SECONDS (60 by default) from the project's scenes and the tests' command snippets. A crash, a hang
# (one input running over FUZZ_TIMEOUT seconds, 20 by default), a sanitizer report or memory beyond
# libFuzzer's limit fails; the input is copied to build/fuzz/findings/, to be fixed and added to
# fuzz/regressions/ (where the ordinary test builds replay it as a test).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang libclang-rt-14-dev python3
root=$(pwd)
dir=$root/build/fuzz
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXMORA_SANITIZE=ON \
  -DVEXMORA_FUZZ=ON -DVEXMORA_TESTS=OFF >/dev/null
cmake --build "$dir" -j"${JOBS:-$(nproc)}" --target command_fuzzer vexmoraDynamics vexmoraAnimation

# The inputs load the plug-ins by relative path and may write files: they run in a scratch directory
# holding copies of the plug-ins, the target and the kept inputs. Run as root, the fuzzer drops to
# nobody, so that whatever path an input names, what it writes can only land where anyone may write.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/dynamics" "$work/animation" "$work/regressions" "$work/corpus" "$work/findings" "$dir/findings"
cp "$dir"/dynamics/*.so "$work/dynamics/"
cp "$dir"/animation/*.so "$work/animation/"
cp "$dir/fuzz/command_fuzzer" "$work/"
cp fuzz/regressions/* "$work/regressions/"
python3 fuzz/seeds.py "$work/corpus"
as=()
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  chown -R nobody:nogroup "$work"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
cd "$work"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fuzzer=("${as[@]}" ./command_fuzzer -timeout="${FUZZ_TIMEOUT:-20}" -artifact_prefix="$work/findings/")
# FUZZ_SEED fixes the mutation sequence, so that a run can be repeated; unset, each run explores anew.
seed=()
[ -n "${FUZZ_SEED:-}" ] && seed=(-seed="$FUZZ_SEED")
status=0
echo "== fuzz: replaying fuzz/regressions"
"${fuzzer[@]}" regressions/* >replay.log 2>&1 || status=1
if [ "$status" -eq 0 ]; then
  echo "== fuzz: ${FUZZ_SECONDS:-60} s"
  "${fuzzer[@]}" "${seed[@]}" -max_total_time="${FUZZ_SECONDS:-60}" -max_len=32768 -print_final_stats=1 corpus \
    >fuzz.log 2>&1 || status=1
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' fuzz.log || true
fi
if [ "$status" -ne 0 ]; then
  tail -n 80 "$([ -f fuzz.log ] && echo fuzz.log || echo replay.log)"
  cp findings/* "$dir/findings/" 2>/dev/null || true
  echo "fuzz: FAILED; the input is in $dir/findings/"
  exit 1
fi
echo "fuzz: no crash, hang or sanitizer report"
