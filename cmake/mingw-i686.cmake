# Cross-compiles the 32-bit Windows program, the one that ships, with
# MinGW-w64, and runs the test executables under 32-bit Wine.
#
# The win32 thread model: its C++ runtime needs no libwinpthread, whose
# GetTickCount64 import would keep the program from loading on Windows XP.
# The program starts no threads; GoogleTest is built without its own thread
# support for this model (see tests/CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The 32-bit loader; on machines without 32-bit Linux support it runs
# through user-mode QEMU (scripts/wine-env.sh sets that up).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
