#!/bin/sh
# Installs every Debian package that building, running and testing Zel needs.
# Quiet and quick when everything is already there.
set -e
PACKAGES="
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libfreetype-dev libfontconfig-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  qpdf poppler-utils libcairo2-dev imagemagick
  libwxgtk3.2-dev xvfb xdotool x11-apps
  fonts-dejavu-core fonts-liberation2
"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y --no-install-recommends $missing
