# The 64-bit product, same thread model as the 32-bit one.
set(MORVANE_TRIPLE x86_64-w64-mingw32)
set(MORVANE_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
