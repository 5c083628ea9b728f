# 32-bit Windows build, loading on Windows XP SP3 and later.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUORVEX_MINGW_PREFIX i686-w64-mingw32)
set(QUORVEX_WIN_MAJOR 5)
set(QUORVEX_WIN_MINOR 1)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
