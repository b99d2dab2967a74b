#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   tools/test.sh             the normal build (build/)
#   tools/test.sh --sanitize  with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/tools/install-deps.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
if [ "${1:-}" = "--sanitize" ]; then
  dir="$here/build-asan"
  "$here/tools/build.sh" "$dir" -DZELK_SANITIZE=ON -DZELK_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$here/tools/lsan.supp"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  dir="$here/build"
  "$here/tools/build.sh" "$dir"
fi
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
