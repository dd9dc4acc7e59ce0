# One version for the whole project, project(VERSION) in the top
# CMakeLists.txt. The version resource (version.rc) and quorbel_version.h,
# which the About box and C++ read, are made from it in <build>/resources;
# link quorbel_version to have them on the include path. The texts show the
# patch number in three digits: 1.11.4 reads "1.11.004".
set(QUORBEL_VERSION_PATCH_TEXT ${PROJECT_VERSION_PATCH})
string(LENGTH "${QUORBEL_VERSION_PATCH_TEXT}" patch_digits)
while(patch_digits LESS 3)
  string(PREPEND QUORBEL_VERSION_PATCH_TEXT 0)
  math(EXPR patch_digits "${patch_digits} + 1")
endwhile()
set(QUORBEL_VERSION_TEXT ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${QUORBEL_VERSION_PATCH_TEXT} CACHE INTERNAL "The version as every front end shows it")
configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in ${PROJECT_BINARY_DIR}/resources/version.rc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/quorbel_version.h.in ${PROJECT_BINARY_DIR}/resources/quorbel_version.h @ONLY)
add_library(quorbel_version INTERFACE)
target_include_directories(quorbel_version INTERFACE ${PROJECT_BINARY_DIR}/resources)
