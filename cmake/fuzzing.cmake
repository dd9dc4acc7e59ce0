# libFuzzer targets, built only with -DQUORBEL_FUZZ=ON and clang:
#   CC=clang-14 CXX=clang++-14 cmake -B build/fuzz -DQUORBEL_FUZZ=ON
# tools/fuzz/run.sh does that and runs every target.
#
# Everything in such a build is compiled with ASan, UBSan and the fuzzer's
# coverage; the targets link libFuzzer's main. Each registers itself with
# quorbel_add_fuzz_target, which also lists it in <build>/fuzz_targets.txt
# (name, program, seed corpus folder) for the run script.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "QUORBEL_FUZZ needs clang (libFuzzer); e.g. CC=clang-14 CXX=clang++-14")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

set(QUORBEL_FUZZ_LIST ${CMAKE_BINARY_DIR}/fuzz_targets.txt)
file(WRITE ${QUORBEL_FUZZ_LIST} "")
add_custom_target(quorbel_fuzz_targets)

# quorbel_add_fuzz_target(<name> SOURCES ... LIBS ...)
# The seed corpus is tests/fuzz/corpus/<name> (it may be missing or empty).
function(quorbel_add_fuzz_target name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(fuzz_${name} ${F_SOURCES})
  target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(quorbel_fuzz_targets fuzz_${name})
  file(APPEND ${QUORBEL_FUZZ_LIST}
       "${name} ${CMAKE_CURRENT_BINARY_DIR}/fuzz_${name} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name}\n")
endfunction()
