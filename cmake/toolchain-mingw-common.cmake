# posix: std::thread and a thread-safe gtest, for the tests. win32: the
# runtime's locks are Windows' own, with no posix thread library, for the
# program (see host/CMakeLists.txt).
if(NOT DEFINED QUORBEL_THREAD_MODEL)
  set(QUORBEL_THREAD_MODEL posix)
endif()
set(CMAKE_C_COMPILER ${QUORBEL_TRIPLET}-gcc-${QUORBEL_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${QUORBEL_TRIPLET}-g++-${QUORBEL_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${QUORBEL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUORBEL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under Wine; tools/ci/wine_session.sh provides the prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
