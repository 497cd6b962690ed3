#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# skipping those already present. Needs root (or sudo).
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libcadical-dev
  qt6-base-dev qt6-svg-dev libgl1-mesa-dev
  nlohmann-json3-dev
  fonts-dejavu-core fonts-liberation
  clang libclang-rt-14-dev clang-format-14 git
  xvfb xauth
  poppler-utils
  appstream desktop-file-utils dpkg-dev
  help2man man-db bash-completion lintian
  python3 time
)
if [[ "${1:-}" == --gui ]]; then
  packages+=(imagemagick xdotool)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
