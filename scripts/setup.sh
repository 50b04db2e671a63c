#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillmark need, when they are
# missing. Does nothing when everything is there. Needs root (or sudo) only when it has to install.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  qt6-base-private-dev libxcb1-dev
  libjpeg62-turbo-dev
  nlohmann-json3-dev
  libxml2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-tidy clang-format
  xvfb xauth xdotool imagemagick
  openbox metacity x11-utils
  sway wtype qt6-wayland
  python3
  curl time valgrind
  desktop-file-utils appstream dpkg-dev file
  man-db fonts-liberation2
  lintian busybox systemd debootstrap iproute2
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
