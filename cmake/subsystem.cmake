# quorbel_subsystem(<name> DEPENDS <libs...> WINDOWS_LIBS <system libs...>)
#
# Every subsystem folder builds two libraries from the files it holds:
#   quorbel_<name>          the portable *.cpp files (no windows.h)
#   quorbel_<name>_windows  the *_windows.cpp files, Windows builds only
#
# DEPENDS and WINDOWS_LIBS must name everything the files use. Each library
# is also linked whole into a small program with nothing but what it
# declares (quorbel_<name>[_windows]_link_check), so a missing dependency
# fails the build here instead of being made up for by whatever a test or
# program happens to link besides.
function(quorbel_link_check library)
  add_executable(${library}_link_check ${PROJECT_SOURCE_DIR}/cmake/link_check_main.cpp)
  target_link_libraries(${library}_link_check PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${library}>")
endfunction()

function(quorbel_subsystem name)
  cmake_parse_arguments(S "" "" "DEPENDS;WINDOWS_LIBS" ${ARGN})
  file(GLOB portable CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER portable EXCLUDE REGEX "_windows\\.cpp$")
  if(WIN32)
    list(FILTER portable EXCLUDE REGEX "_posix\\.cpp$")
  endif()
  if(portable)
    add_library(quorbel_${name} STATIC ${portable})
    target_include_directories(quorbel_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(quorbel_${name} PUBLIC ${S_DEPENDS})
    quorbel_link_check(quorbel_${name})
  else()
    add_library(quorbel_${name} INTERFACE)
    target_include_directories(quorbel_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(quorbel_${name} INTERFACE ${S_DEPENDS})
  endif()
  if(WIN32)
    file(GLOB windows CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_windows.cpp)
    if(windows)
      add_library(quorbel_${name}_windows STATIC ${windows})
      target_link_libraries(quorbel_${name}_windows PUBLIC quorbel_${name} ${S_WINDOWS_LIBS})
      quorbel_link_check(quorbel_${name}_windows)
    else()
      add_library(quorbel_${name}_windows INTERFACE)
      target_link_libraries(quorbel_${name}_windows INTERFACE quorbel_${name})
    endif()
  endif()
endfunction()
