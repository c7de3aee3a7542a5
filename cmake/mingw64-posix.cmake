# Wine tests of the 64-bit build, run under wine64.
set(MORVANE_TRIPLE x86_64-w64-mingw32)
set(MORVANE_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-wine)
