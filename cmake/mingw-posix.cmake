# Wine tests: GoogleTest needs std::mutex, which the posix thread model gives.
set(MORVANE_TRIPLE i686-w64-mingw32)
set(MORVANE_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/with-wine)
