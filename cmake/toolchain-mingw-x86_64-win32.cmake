# 64-bit Windows with Debian's mingw-w64, win32 thread model: the program.
set(QUORBEL_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-x86_64.cmake)
