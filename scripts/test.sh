#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs all tests.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
# Real runs for the tests that need them; without them those tests skip.
if real=$(bash "$here/scripts/fetch-real-data.sh" 2>/dev/null); then
  export ZAR_REAL_DATA="$real"
else
  echo "The real example runs could not be fetched; the tests that need them are skipped." >&2
fi
bash "$here/scripts/build.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DZAR_SANITIZE=ON -DZAR_BUILD_BENCH=OFF
cd "$here/build-asan"
ctest --output-on-failure -j"$(nproc)" --timeout 600
