#!/usr/bin/env bash
# Builds the benchmarks (Release, in build/bench) and runs them all. Each benchmark program ends with its
# GOAL lines; they are gathered again at the end. A missed goal is reported, never a failure.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build/bench}"

"$root/scripts/install-deps.sh" libocct-modeling-algorithms-dev libocct-modeling-data-dev libocct-foundation-dev \
  libembree-dev
cmake -S "$root" -B "$build" -DVEXMORA_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)"

goals=()
status=0
for path in "$build"/bench/*_bench; do
  bench="$(basename "$path")"
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
