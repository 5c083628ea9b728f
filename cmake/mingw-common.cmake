# Shared part of the MinGW-w64 cross toolchains (Debian's g++-mingw-w64-*).
# The toolchain file sets QUORVEX_MINGW_PREFIX, the processor and the lowest
# Windows version (QUORVEX_WIN_MAJOR/MINOR) before including this.
#
# The win32-thread-model compilers: the posix flavour links winpthread, which
# imports GetTickCount64 and so keeps the saver from loading on Windows XP.
# The host starts its frame thread with CreateThread and shares flags through
# std::atomic, so it needs no std::thread.
set(CMAKE_SYSTEM_NAME Windows)
find_program(CMAKE_C_COMPILER NAMES ${QUORVEX_MINGW_PREFIX}-gcc-win32 REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUORVEX_MINGW_PREFIX}-g++-win32 REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUORVEX_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The headers hide what the oldest supported Windows lacks, so a newer call
# fails to compile instead of failing to load on XP.
math(EXPR quorvex_winnt "${QUORVEX_WIN_MAJOR} * 256 + ${QUORVEX_WIN_MINOR}" OUTPUT_FORMAT HEXADECIMAL)
set(quorvex_version_flags
  "-Wl,--major-subsystem-version,${QUORVEX_WIN_MAJOR},--minor-subsystem-version,${QUORVEX_WIN_MINOR}")
string(APPEND quorvex_version_flags
  " -Wl,--major-os-version,${QUORVEX_WIN_MAJOR},--minor-os-version,${QUORVEX_WIN_MINOR}")
# Small binaries: every function in a section of its own, unused ones dropped
# at link time, symbols stripped.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=${quorvex_winnt} -DWINVER=${quorvex_winnt} -ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_C_FLAGS_INIT}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${quorvex_version_flags} -Wl,--gc-sections -s")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${quorvex_version_flags} -Wl,--gc-sections -s")
