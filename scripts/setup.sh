#!/usr/bin/env bash
# Installs what building, running and testing Tarmel needs on Debian 12, and only what is
# missing. Non-interactive; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libqt6svg6 qt6-qpa-plugins libgl-dev
  libqscintilla2-qt6-dev
  fonts-liberation adwaita-icon-theme
  libxcb-xkb-dev
  xvfb xauth xdotool dbus dbus-x11 at-spi2-core python3-pyatspi imagemagick
  pandoc unrtf
  # installation and the Debian package (make install, make deb, tests/install)
  dpkg-dev file desktop-file-utils librsvg2-bin shared-mime-info
  # the help collection (Qt Help and its generator)
  libqt6help6 qt6-tools-dev qt6-documentation-tools
  # file associations on the desktop
  xdg-utils libfile-mimeinfo-perl
  # printing: the PDF output read back by the tests
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
