# Cross-compiles for 64-bit ARM with Debian's crossbuild-essential-arm64; the
# programs run on this machine under qemu-user (scripts/arm64-replay.sh).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The level reader's libraries are Debian's arm64 packages (libpugixml-dev:arm64
# and the others, installed by scripts/install-deps.sh --tests); pkg-config
# reads their arm64 descriptions, and the cross linker finds them in
# /usr/lib/aarch64-linux-gnu on its own.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig")
# Linked statically, so qemu needs no arm64 libraries at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
