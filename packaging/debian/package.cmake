# Read by CPack for each package (CPACK_PROJECT_CONFIG_FILE): the fields of
# the one named by -D QUORBEL_DEB_PACKAGE, staged in
# ${QUORBEL_PACKAGE_STAGE}/<package>.
if(NOT QUORBEL_DEB_PACKAGE)
  message(FATAL_ERROR "cpack needs -D QUORBEL_DEB_PACKAGE=quorbel|quorbel-wayland|quorbel-render")
endif()
set(CPACK_PACKAGE_NAME ${QUORBEL_DEB_PACKAGE})
set(CPACK_DEBIAN_PACKAGE_NAME ${QUORBEL_DEB_PACKAGE})
set(CPACK_INSTALLED_DIRECTORIES "${QUORBEL_PACKAGE_STAGE}/${QUORBEL_DEB_PACKAGE};/")
set(CPACK_PACKAGE_FILE_NAME "${QUORBEL_DEB_PACKAGE}_${CPACK_PACKAGE_VERSION}")
set(life "Conway's Game of Life with one, three or six species of cells, drawn as
wriggling sprites on a black screen.")
if(QUORBEL_DEB_PACKAGE STREQUAL "quorbel")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game of Life with sprite cells, as an XScreenSaver hack")
  set(CPACK_PACKAGE_DESCRIPTION "${life} Run quorbel-enable once to add it to
your XScreenSaver list, then choose it in xscreensaver-settings.")
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "xscreensaver")
elseif(QUORBEL_DEB_PACKAGE STREQUAL "quorbel-wayland")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game of Life with sprite cells, as a screen saver on Wayland")
  set(CPACK_PACKAGE_DESCRIPTION "${life} It runs full screen on every output of a
Wayland desktop until a key, a click or a move of the pointer; start it from
an idle manager such as swayidle.")
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
elseif(QUORBEL_DEB_PACKAGE STREQUAL "quorbel-render")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game of Life with sprite cells, rendered to pictures")
  set(CPACK_PACKAGE_DESCRIPTION "${life} quorbel-render runs the Quorbel screen
saver without a window and writes PNG pictures, animated GIFs and traces of
what it paints.")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  # It came in the package quorbel up to 1.11.004, the last before the split.
  set(CPACK_DEBIAN_PACKAGE_BREAKS "quorbel (<< 1.11.005)")
  set(CPACK_DEBIAN_PACKAGE_REPLACES "quorbel (<< 1.11.005)")
else()
  message(FATAL_ERROR "no package ${QUORBEL_DEB_PACKAGE}")
endif()
