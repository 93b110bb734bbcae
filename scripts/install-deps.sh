#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pellix need.
# Quiet and quick when everything is present: apt-get runs only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libgl-dev libegl-dev libgles-dev libgl1-mesa-dri
  libcairo2-dev libpng-dev libpango1.0-dev fonts-urw-base35
  libopenal-dev libopenal1 libsndfile1-dev
  libcurl4-openssl-dev libcpp-httplib-dev libsqlite3-dev
  libmicrohttpd-dev libgnutls28-dev libpq-dev postgresql openssl
  desktop-file-utils appstream man-db dpkg-dev file systemd lintian
  ccache gettext fonts-noto-cjk
  clang libclang-rt-14-dev
  xvfb xauth xdotool libx11-dev libxtst-dev libxdamage-dev
  libwayland-dev weston
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
