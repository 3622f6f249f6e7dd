#!/usr/bin/env bash
# Installs every Debian package Quorvel needs to build, run and test.
# Idempotent: packages already present are skipped without touching the network.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config clang lld libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
    qt6-translations-l10n qt6-image-formats-plugins qt6-l10n-tools qt6-documentation-tools libqt6sql6-sqlite
    libqt6svg6 libqt6help6 qt6-qpa-plugins libgl-dev
    libfontconfig-dev libpugixml-dev libsdl2-dev libsdl2-mixer-dev libsodium-dev
    libqt6dbus6 dbus-daemon
    xvfb xauth x11-utils imagemagick fonts-dejavu-core sox espeak-ng
    desktop-file-utils appstream shared-mime-info dpkg-dev file
    libkeduvocdocument-dev
    libespeak-ng-dev libarchive-dev qt6-webengine-dev qt6-webengine-dev-tools poppler-utils
    nodejs
    # Vocabulary files other programs ship (4 MB of data, no dependencies): the import corpus test.
    kdeedu-kvtml-data
)
# The reference checks run Node.js packages installed with npm. Some Node.js
# builds bring npm along; Debian's comes as a package of its own.
if ! command -v npm > /dev/null; then
    packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
