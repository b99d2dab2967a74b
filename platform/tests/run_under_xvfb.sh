#!/bin/bash
# Runs the GUI tests that need a real X server with a window manager (openbox) and real input
# (xdotool), besides the offscreen runs of CTest: the platform tests, the program's screens under
# real input (app_x_input_test), and the window titles of the program itself as the window manager
# shows them. Usage: platform/tests/run_under_xvfb.sh <build folder>
# ZELK_X_SHOTS=<folder> keeps pictures of the X screen at the checked moments.
set -u
build="$(cd "${1:?usage: $0 <build folder>}" && pwd)"
bin="$build/bin"
if [ -z "${ZELK_UNDER_XVFB:-}" ]; then
  ZELK_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi
export QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
rc=0

for t in platform_form_test platform_dialogs_test platform_services_test app_x_input_test; do
  timeout 120 "$bin/$t" || rc=1
done
# Once under a German locale, with real keys: the risks with a decimal comma.
LC_ALL=de_DE.UTF-8 timeout 120 "$bin/app_x_input_test" --gtest_filter='*German*' || rc=1

# The window manager's title of each screen is the screen's caption alone.
expect_title() {  # window, expected title
  local title
  title="$(xdotool getwindowname "$1")"
  if [ "$title" = "$2" ]; then
    echo "title ok: $title"
  else
    echo "FAILED: window title \"$title\", expected \"$2\""
    rc=1
  fi
}
# The visible windows of the program, one id a line.
windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | sort; }
# Waits up to 10 s for the program to show `count` windows.
wait_windows() {
  local i
  for i in $(seq 50); do
    [ "$(windows_of "$1" | wc -l)" -ge "$2" ] && return 0
    sleep 0.2
  done
  echo "FAILED: the program did not show $2 window(s)"
  rc=1
  return 1
}
# The program itself starts under a German locale, in an empty working directory, without a box
# (the shipped "params.tav" holds reals with ".", whatever the locale).
work="$(mktemp -d)"
(cd "$work" && LC_ALL=de_DE.UTF-8 exec "$bin/Zelk2230") >/dev/null 2>&1 &
zelk=$!
if wait_windows "$zelk" 1; then
  sleep 1
  if [ "$(windows_of "$zelk" | wc -l)" -ne 1 ]; then
    echo "FAILED: the program shows more than its main screen at start"
    rc=1
  fi
  main="$(windows_of "$zelk" | head -1)"
  expect_title "$main" "Zelk 2.2.3 Main Screen"
  # "Enter LT data" (its place on the main screen) opens the life-table screen.
  xdotool mousemove --window "$main" 72 241 click 1
  if wait_windows "$zelk" 2; then
    lt="$(windows_of "$zelk" | grep -vx "$main" | head -1)"
    expect_title "$lt" "Zelk Life-Table Simulation Version 2.2.3"
  fi
fi
kill "$zelk" 2>/dev/null
wait "$zelk" 2>/dev/null
rm -rf "$work"

kill $wm
[ $rc -eq 0 ] && echo "X tests passed" || echo "X tests FAILED"
exit $rc
