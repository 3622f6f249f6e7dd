#!/usr/bin/env bash
# Installs the Debian package on a clean Debian (a debootstrap chroot, made
# when missing) and starts the program there: the due report on the command
# line, then the window under Xvfb with a screenshot. Needs root and network
# access to the Debian archive; not part of CI.
#   scripts/check-package-chroot.sh <package.deb> <chroot-dir> [screenshot.png]
set -euo pipefail
deb=$(realpath "$1")
root=$2
shot=${3:-/tmp/quorvel-chroot.png}
if [ ! -x "$root/bin/bash" ]; then
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc" 2> /dev/null || true' EXIT
cp "$deb" "$root/tmp/quorvel.deb"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }
in_root apt-get update -qq
# apt resolves the package's dependencies from the archive, as on a learner's machine.
in_root apt-get install -y -qq --no-install-recommends /tmp/quorvel.deb
in_root dpkg -s quorvel | grep -E '^(Status|Version|Depends):'
# The triggers of shared-mime-info and the icon theme ran:
in_root grep -q 'application/x-quorvel-lesson' /usr/share/mime/globs2
in_root ls /usr/share/icons/hicolor/256x256/apps/org.quorvel.Quorvel.png
# A learner without anything but the package: the first start installs the data.
in_root rm -rf /home/anna && mkdir -p "$root/home/anna"
learner() { chroot "$root" env -i PATH=/usr/bin:/bin HOME=/home/anna LANG=C.UTF-8 SDL_AUDIODRIVER=dummy "$@"; }
# Tools for looking at the program only; not dependencies of the package.
in_root apt-get install -y -qq --no-install-recommends xvfb xauth imagemagick x11-apps > /dev/null
learner bash -c 'QT_QPA_PLATFORM=offscreen quorvel & pid=$!; sleep 6; kill $pid'
learner sed -i 's|<autoload>false</autoload>|<autoload>true</autoload>|' "/home/anna/.local/share/Quorvel 8/Data/Options.xml"
learner quorvel --due
learner xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
    'quorvel "/home/anna/Documents/Quorvel 8/Lektionen/Englisch - Grundwortschatz.qxu" & pid=$!; sleep 8; import -window root /tmp/shot.png; kill $pid'
cp "$root/tmp/shot.png" "$shot"
echo "Package installed and started in $root; screenshot in $shot"
