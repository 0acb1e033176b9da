#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs all tests.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DZAR_SANITIZE=ON -DZAR_BUILD_BENCH=OFF
cd "$here/build-asan"
ctest --output-on-failure -j"$(nproc)" --timeout 600
