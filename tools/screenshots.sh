#!/usr/bin/env bash
# Starts the program's screens under Xvfb with a window manager and saves a PNG of every screen:
#   tools/screenshots.sh [folder]     (default: build/screenshots)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$here/build/screenshots}"
"$here/tools/install-deps.sh"
"$here/tools/build.sh" "$here/build"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "openbox & sleep 0.5; QT_QPA_PLATFORM=xcb '$here/build/bin/zelk_screenshots' '$out'"
echo "Screenshots in $out"
