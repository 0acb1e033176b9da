#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the demo data.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" "$here/build-release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAR_BUILD_TESTS=OFF -DZAR_BUILD_BENCH=OFF

program="$here/build-release/bin/ZarvikBrowser"
# The demo data set lives in the program's data folder; the settings point at it, so that
# File > Open and File > Open TurboSORVEX Results start there.
demo="${XDG_DATA_HOME:-$HOME/.local/share}/Korvath/Veltrix/demo"
"$here/build-release/bin/zar-make-demo" --set-folders "$demo"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "There is no display to show the program's window on." >&2
  echo "Run it from a desktop session, or under a virtual display:" >&2
  echo "  xvfb-run -a -s '-screen 0 1600x1000x24' bash scripts/run.sh" >&2
  exit 1
fi
echo "Open $demo/demo.mzML with File > Open, then its results with File > Open TurboSORVEX Results."
exec "$program"
