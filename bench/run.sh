#!/usr/bin/env bash
# Builds the benchmarks (Release, in build/bench) and runs them all. Each benchmark program ends with its
# GOAL lines; they are gathered again at the end. A missed goal is reported, never a failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build/bench}"

cmake -S "$root" -B "$build" -DVEXMORA_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target particle_attributes_bench plug_lookup_bench

goals=()
status=0
for bench in particle_attributes_bench plug_lookup_bench; do
  echo "== $bench"
  log="$(mktemp)"
  if ! "$build/bench/$bench" "$@" | tee "$log"; then
    status=1
  fi
  while IFS= read -r line; do goals+=("$line"); done < <(grep '^GOAL ' "$log" || true)
  rm -f "$log"
done

echo
echo "== goals"
for line in "${goals[@]}"; do echo "$line"; done
exit $status
