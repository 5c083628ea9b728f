# 64-bit Windows build: x64 Windows begins with XP x64 / Server 2003 (5.2).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(QUORVEX_WIN_MAJOR 5)
set(QUORVEX_WIN_MINOR 2)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
