# 64-bit ARM Linux with Debian's cross compiler (g++-aarch64-linux-gnu) and
# the :arm64 multiarch development packages in /usr/lib/aarch64-linux-gnu.
# Programs built here run under qemu-aarch64-static, which is also what
# ctest and the test discovery use to run them.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
find_program(CMAKE_C_COMPILER NAMES aarch64-linux-gnu-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES aarch64-linux-gnu-g++ REQUIRED)
# Only the arm64 libraries and headers; the host's x86-64 ones must not be picked up.
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
find_program(QUORVEX_QEMU_AARCH64 NAMES qemu-aarch64-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVEX_QEMU_AARCH64} -L /usr/aarch64-linux-gnu)
