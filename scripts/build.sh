#!/usr/bin/env bash
# Configures and builds into the given folder: build.sh BUILD_DIR [cmake options...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"
shift
cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
jobs=$(nproc)
cmake --build "$dir" -- -j"$jobs"
