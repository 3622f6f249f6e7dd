#!/usr/bin/env bash
# Installs the Debian package on a clean Debian (a debootstrap chroot, made
# when missing) and starts the program there: the due report on the command
# line, then the window under Xvfb with a screenshot. Needs root and access to
# the Debian archive this machine's apt uses (read from its sources at run
# time, never written here); not part of CI.
#   scripts/check-package-chroot.sh <package.deb> <chroot-dir> [screenshot.png]
set -euo pipefail
deb=$(realpath "$1")
root=$2
shot=${3:-/tmp/quorvel-chroot.png}
# The first Debian archive of the machine's apt sources (one-line or deb822 form) with its suite.
archive_of_this_machine() {
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk '$1 == "deb" && / main/ { line = $0; gsub(/\[[^]]*\]/, "", line); split(line, f, " "); print f[2], f[3]; exit }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
             /(^|\n)Components:[^\n]*main/ && /(^|\n)Types:[^\n]*deb([ \n]|$)/ {
                 uri = ""; suite = ""
                 for (i = 1; i <= NF; i++) {
                     if ($i ~ /^URIs:/) { split($i, f, " "); uri = f[2] }
                     if ($i ~ /^Suites:/) { split($i, f, " "); suite = f[2] }
                 }
                 if (uri != "" && suite != "" && suite !~ /-(security|updates)$/) { print uri, suite; exit }
             }' "$file"
    done
}
if [ ! -x "$root/bin/bash" ]; then
    read -r mirror suite < <(archive_of_this_machine | head -n 1) || true
    if [ -z "${mirror:-}" ] || [ -z "${suite:-}" ]; then
        echo "No Debian archive found in /etc/apt/sources.list or /etc/apt/sources.list.d/." >&2
        exit 1
    fi
    debootstrap --variant=minbase "$suite" "$root" "$mirror"
fi
# The chroot reaches the archive as this machine does: its sources and its apt settings (a proxy, say).
cp -a /etc/apt/sources.list.d/. "$root/etc/apt/sources.list.d/" 2> /dev/null || true
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/sources.list"
cp -a /etc/apt/apt.conf.d/. "$root/etc/apt/apt.conf.d/" 2> /dev/null || true
cp -a /usr/share/keyrings/. "$root/usr/share/keyrings/" 2> /dev/null || true
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
