# The product: win32 thread model, so nothing newer than Windows 95/NT 4 is imported.
set(MORVANE_TRIPLE i686-w64-mingw32)
set(MORVANE_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
