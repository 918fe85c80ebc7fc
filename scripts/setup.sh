#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent and non-interactive: packages already present are left alone.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    updated=0
fi

pkgs=(wine wine32:i386 wine64 g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake
      xvfb xauth locales fonts-ipafont-gothic googletest imagemagick xdotool
      python3 nsis zip fonts-wine)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done

if [ "${#need[@]}" -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
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
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user >/dev/null
fi

# Code page 932 under Wine comes from the Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating ja_JP.UTF-8"
    $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
