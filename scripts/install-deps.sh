#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing poteedit needs.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n qt6-qpa-plugins
  libgl1-mesa-dev libjpeg62-turbo-dev libharfbuzz-dev libfontconfig-dev libzip-dev zlib1g-dev
  libmecab-dev mecab-ipadic-utf8
  libcairo2-dev libfreetype-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-misaki fonts-dejavu-core
  xvfb x11-apps imagemagick xdotool poppler-utils
  ibus ibus-anthy dbus-daemon dconf-service dconf-gsettings-backend libglib2.0-bin
  epubcheck default-jre-headless
  desktop-file-utils shared-mime-info rsync
  dpkg-dev file
)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
