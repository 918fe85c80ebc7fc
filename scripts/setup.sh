#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent and non-interactive: packages already present are left alone.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

need=()
# A mirror in the middle of a sync can fail one index (seen: the i386
# security list); try again, then install from the lists that did arrive.
apt_update() {
    $SUDO apt-get update -qq && return 0
    sleep 10
    $SUDO apt-get update -qq && return 0
    echo "setup: apt-get update reported errors; installing from the lists it has" >&2
}
# With the i386 security list missing, the amd64 libraries' security
# versions have no i386 twins and multiarch refuses the pair: then install
# with the security suite held below the point release, whose lists are
# whole for both architectures.
apt_install() {
    $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null && return 0
    local pref
    pref=$(mktemp)
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 50\n' >"$pref"
    echo "setup: installing again with the security updates held back" >&2
    local rc=0
    $SUDO apt-get install -y -qq --no-install-recommends -o Dir::Etc::Preferences="$pref" "$@" >/dev/null || rc=$?
    rm -f "$pref"
    return $rc
}
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    updated=0
fi

pkgs=(wine wine32:i386 wine64 g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake
      xvfb xauth locales fonts-ipafont-gothic googletest imagemagick xdotool
      python3 nsis zip fonts-wine)
# The tests' slow share: a FUSE file system in Debian's Python.
pkgs+=(fuse3 python3-fusepy)
# Two monitors side by side for the monitors test (Xorg's dummy driver); the
# 32-bit Wine needs its own Xinerama library to see them.
pkgs+=(xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils libxinerama1:i386)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done

if [ "${#need[@]}" -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    apt_update
    apt_install "${need[@]}"
fi

# The 32-bit Wine loader runs through user-mode QEMU on machines that cannot
# execute 32-bit Linux programs; bookworm's own qemu-user-static crashes here,
# so it comes from bookworm-backports, added with the archive of the machine's
# existing Debian sources.
if ! have qemu-user; then
    if ! apt-cache policy 2>/dev/null | grep -q "bookworm-backports"; then
        uri=""
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            uri=$(awk '/^URIs:/{u=$2} /^Suites:/{for(i=2;i<=NF;i++) if($i=="bookworm") {print u; exit}}' "$f")
            [ -n "$uri" ] && break
        done
        if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
            uri=$(awk '$1=="deb" && $3=="bookworm" {print $2; exit}' /etc/apt/sources.list)
        fi
        [ -n "$uri" ] || { echo "setup: no Debian bookworm archive found in the apt sources" >&2; exit 1; }
        printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "$uri" | $SUDO tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
    fi
    echo "setup: installing qemu-user (bookworm-backports)"
    apt_update
    apt_install -t bookworm-backports qemu-user
fi

# Code page 932 under Wine comes from the Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating ja_JP.UTF-8"
    $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
