#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in Release (build-release/) and runs them all,
# one program after another. Extra arguments go to every program (for example
# --benchmark_filter=Open). Each benchmark that claims a ratio measures its anchor (the run-file
# library alone, grep, wc -l, memchr) in the same run, the same way as ours (both whole
# processes or both in the program), in turn, and prints the ratio with the load average it
# was measured under (counter "load"); the load is printed around every program too.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
# The real run for the raw-file benchmark; without it that case is skipped.
if real=$(bash "$here/scripts/fetch-real-data.sh" 2>/dev/null); then
  export ZAR_REAL_DATA="$real"
else
  echo "The real example runs could not be fetched; the benchmark that needs them skips." >&2
fi
bash "$here/scripts/build.sh" "$here/build-release" -DCMAKE_BUILD_TYPE=Release \
  -DZAR_BUILD_TESTS=OFF -DZAR_BUILD_BENCH=ON
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
echo "Load before the run: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for program in "$here"/build-release/bin/bench_*; do
  echo
  echo "== $(basename "$program") (load $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores)"
  "$program" "$@"
done
echo
echo "Load after the run: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
