#!/usr/bin/env bash
# Runs the parsers' fuzz targets (tests/fuzz) under libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer.
#
#   scripts/fuzz.sh [-m MINUTES] [-j PARALLEL] [-b BUILD_DIR] [TARGET...]
#
# MINUTES per target (default 10), PARALLEL targets at a time (default 1), every target when
# none is named (the list: ZAR_FUZZ_TARGETS in tests/fuzz/FuzzSupport.h). Needs clang and its
# fuzzer runtime (Debian: clang libclang-rt-14-dev); the normal build and test run do not.
#
# Each target starts from its stored seeds and past failures (tests/fuzz/corpus/<Target>,
# tests/fuzz/regressions/<Target>; a <Name>OnDisk target those of <Name> too) and prints how
# many inputs it ran per second of the clock and of processor time; what it learns goes to
# BUILD_DIR/fuzz-corpus/<Target>, so the stored corpora change only by hand. A failing input is
# written to BUILD_DIR/fuzz-findings/<Target>/: once mended, copy it into
# tests/fuzz/regressions/<Target>/ so that the test run replays it from then on.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
minutes=10
parallel=1
build="$here/build-fuzz"
while getopts "m:j:b:h" option; do
  case "$option" in
    m) minutes="$OPTARG" ;;
    j) parallel="$OPTARG" ;;
    b) build="$OPTARG" ;;
    *) sed -n '2,16p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(sed -n 's/^ *X(\([A-Za-z]*\)).*/\1/p' "$here/tests/fuzz/FuzzSupport.h")
fi

if ! command -v clang++ > /dev/null; then
  echo "clang++ is needed: apt-get install clang libclang-rt-14-dev" >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZAR_FUZZ=ON -DZAR_BUILD_BENCH=OFF
fi
cmake --build "$build" -j"${ZAR_BUILD_JOBS:-3}" --target $(printf 'fuzz_%s ' "${targets[@]}")

run_target() {
  local target="$1"
  local corpus="$build/fuzz-corpus/$target"
  local findings="$build/fuzz-findings/$target"
  local log="$build/fuzz-logs/$target.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  local stored=()
  # An on-disk target shares the seeds and past failures of its reader's in-memory target.
  local names=("$target")
  if [ "${target%OnDisk}" != "$target" ]; then names+=("${target%OnDisk}"); fi
  for name in "${names[@]}"; do
    for kind in corpus regressions; do
      if [ -d "$here/tests/fuzz/$kind/$name" ]; then stored+=("$here/tests/fuzz/$kind/$name"); fi
    done
  done
  local status=0
  # The processor time it took as well: on a busy machine the clock's figure says little.
  local TIMEFORMAT='%U %S'
  # A freed block waits in a 64 MB quarantine before it is used again (the default 256 MB cycles
  # a quarter of a gigabyte of fresh memory through the caches and page tables, and halves the
  # inputs run): a block used after it was freed while the same input runs is still caught.
  { time ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:quarantine_size_mb=64" \
    UBSAN_OPTIONS="print_stacktrace=1" \
    "$build/bin/fuzz_$target" "$corpus" "${stored[@]}" \
    -max_total_time=$((minutes * 60)) -timeout=20 -rss_limit_mb=3072 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/" > "$log" 2>&1; } 2> "$log.cpu" || status=$?
  local runs speed perCpu
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  perCpu=$(awk -v runs="${runs:-0}" '{ cpu = $1 + $2 } END { if (cpu > 0) printf "%d", runs / cpu; else print "?" }' "$log.cpu")
  if [ "$status" -eq 0 ]; then
    echo "$target: ${runs:-?} inputs run, ${speed:-?} inputs/s (${perCpu} per processor second), no finding"
  else
    echo "$target: FAILED after ${runs:-?} inputs (${speed:-?} inputs/s, ${perCpu} per processor second, exit $status); see $log and $findings/"
  fi
  return "$status"
}

# The on-disk targets write their inputs as files: a memory-backed folder keeps that quick.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

failed=0
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$parallel" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
