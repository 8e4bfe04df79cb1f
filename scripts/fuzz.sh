#!/usr/bin/env bash
# Builds the command-language fuzz target with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on), replays the inputs kept in fuzz/regressions/, then fuzzes for
# FUZZ_SECONDS (60 by default) from the project's scenes and the tests' command snippets. A crash, a hang
# (one input running over 20 s) or a sanitizer report fails; the input is left in build/fuzz/findings/, to
# be fixed and added to fuzz/regressions/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang libclang-rt-14-dev python3
root=$(pwd)
dir=$root/build/fuzz
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXMORA_SANITIZE=ON \
  -DVEXMORA_FUZZ=ON -DVEXMORA_TESTS=OFF >/dev/null
cmake --build "$dir" -j"${JOBS:-$(nproc)}" --target command_fuzzer vexmoraDynamics
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The scripts load "dynamics/vexmoraDynamics.so" and may write files: they run on copies, in a scratch
# directory.
mkdir -p "$work/dynamics" "$work/corpus" "$dir/findings"
cp "$dir"/dynamics/*.so "$work/dynamics/"
python3 fuzz/seeds.py "$work/corpus"
cd "$work"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== fuzz: replaying fuzz/regressions"
"$dir/fuzz/command_fuzzer" -timeout=20 "$root"/fuzz/regressions/*
echo "== fuzz: ${FUZZ_SECONDS:-60} s"
"$dir/fuzz/command_fuzzer" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=20 -max_len=4096 \
  -artifact_prefix="$dir/findings/" -print_final_stats=1 corpus
