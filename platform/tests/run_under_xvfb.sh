#!/bin/bash
# Runs the platform GUI tests on a virtual X server with a window manager (openbox), the way a
# desktop behaves, besides the offscreen runs of CTest. Also runs the tests that need real mouse
# input (xdotool). Usage: platform/tests/run_under_xvfb.sh <build folder>
set -u
bin="${1:?usage: $0 <build folder>}/bin"
exec xvfb-run -a bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  rc=0
  for t in platform_form_test platform_dialogs_test platform_services_test; do
    QT_QPA_PLATFORM=xcb timeout 120 "'"$bin"'/$t" || rc=1
  done
  kill $wm
  exit $rc
'
