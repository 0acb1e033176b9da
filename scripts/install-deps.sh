#!/usr/bin/env bash
# Installs what the build, the program and the tests need from Debian's packages.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libqt6opengl6-dev
  libgl-dev libglx-dev
  libpwiz-dev libpwiz-tools libboost-dev libboost-filesystem-dev libboost-iostreams-dev libboost-thread-dev
  libxlsxwriter-dev libminizip-dev zlib1g-dev
  comet-ms
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2 locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma, so that the number tests can prove that files stay in the "C" format.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  if [ -f /etc/locale.gen ]; then
    "${sudo_cmd[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null || true
  fi
fi
