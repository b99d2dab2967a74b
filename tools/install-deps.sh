#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the screenshot script need (only the
# missing ones; run as root or with sudo available), and makes the German and Polish locales that
# the tests run under.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-base-private-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev libacl1-dev libattr1-dev locales xvfb xauth openbox xdotool poppler-utils fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
for l in de_DE pl_PL; do
  locale -a 2>/dev/null | grep -qx "$l.utf8" || $SUDO localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
