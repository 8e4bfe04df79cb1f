#!/usr/bin/env bash
# Builds everything and runs every test twice: a normal build, and one under AddressSanitizer and
# UndefinedBehaviorSanitizer; then fuzzes the command language for a minute. Warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
for variant in release asan; do
  dir=build/$variant
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXMORA_WERROR=ON -DVEXMORA_BENCH=ON)
  [ "$variant" = asan ] && flags=(-DCMAKE_BUILD_TYPE=Debug -DVEXMORA_WERROR=ON -DVEXMORA_SANITIZE=ON)
  echo "== $variant build"
  cmake -S . -B "$dir" "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== $variant tests"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j"$jobs"
done
scripts/test-targets.sh
# The command-language fuzz target, for a bounded time: any crash, hang or sanitizer report fails. The
# seed is fixed so that a run's result can be reproduced; scripts/fuzz.sh alone explores with new seeds.
echo "== fuzz"
FUZZ_SECONDS=${FUZZ_SECONDS:-60} FUZZ_SEED=${FUZZ_SEED:-20261209} scripts/fuzz.sh
