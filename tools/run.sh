#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zelk in the working directory ~/zelk-data
# (or the directory given as the first argument).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/tools/install-deps.sh"
"$here/tools/build.sh" "$here/build"
workdir="${1:-$HOME/zelk-data}"
mkdir -p "$workdir"
cd "$workdir"
exec "$here/build/bin/Zelk2230"
