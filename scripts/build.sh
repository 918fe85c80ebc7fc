#!/usr/bin/env bash
# Builds Pairmate twice from the same sources, each with its tests:
#   build/        64-bit (x86-64) program, tests and benchmark, run by 64-bit
#                 Wine;
#   build-win32/  the 32-bit (i686) program, the one shipped for Windows, with
#                 its tests and benchmark, run by 32-bit Wine.
# PAIRMATE_BUILD_DIR overrides the first folder (default: build);
# PAIRMATE_SKIP_WIN32=1 builds only the first.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${PAIRMATE_BUILD_DIR:-build}"
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j"$(nproc)"
if [ -z "${PAIRMATE_SKIP_WIN32:-}" ]; then
    cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
          -DBUILD_TESTING=ON >/dev/null
    cmake --build build-win32 -j"$(nproc)"
fi
