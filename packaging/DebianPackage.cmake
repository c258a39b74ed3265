# The Debian package: `cpack -G DEB` in the build folder turns what
# `cmake --install` installs into spanwick_<version>_<arch>.deb.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME spanwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(SPANWICK_PACKAGE_MAINTAINER "Spanwick maintainers <maintainers@spanwick.example>"
  CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${SPANWICK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find how wide a column must be for a text to fit in a font")
set(CPACK_PACKAGE_DESCRIPTION [[
Spanwick answers one question: how wide, in screen pixels, must a column or
field be so that a given share of a body of text fits in it when drawn in a
given font? It measures every line of a plain-text file in the chosen font
and shows the shortest, longest and average width, the standard deviation
and the width that 50 to 99 per cent of the lines fit in, and saves them as
a text report.

Widths are those the classic Windows text functions report for the same font
description: per-character advance widths in whole pixels, without kerning.

The package holds the window, spanwick, and the command-line tool
spanwick-measure, which gives the same report for scripts.]])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the binaries themselves. Qt finds its window-system
# plugins at run time, so the window needs them named. Nothing can be measured
# without an installed font (the font list stays empty), so one is required;
# Liberation's faces share the widths of the common Windows fonts, and Carlito
# and Caladea those of two more, the faces most worth measuring in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core | fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-crosextra-carlito, fonts-crosextra-caladea")

include(CPack)

# Build the package once, then check what it holds and that its desktop
# files, metadata and manual pages pass their validators. Not in the
# sanitizer build: what it would package is not what is shipped.
if(SPANWICK_BUILD_TESTS AND NOT SPANWICK_SANITIZE)
  set(package_folder ${CMAKE_BINARY_DIR}/package-check)
  set(check ${CMAKE_CURRENT_LIST_DIR}/check-package.sh)
  add_test(NAME debian_package_build
    COMMAND ${check} build ${package_folder} ${CMAKE_CPACK_COMMAND} ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
  add_test(NAME debian_package_contents COMMAND ${check} contents ${package_folder} ${PROJECT_VERSION})
  add_test(NAME debian_package_desktop_files COMMAND ${check} desktop-files ${package_folder})
  set_tests_properties(debian_package_build PROPERTIES LABELS packaging FIXTURES_SETUP debian_package)
  set_tests_properties(debian_package_contents debian_package_desktop_files PROPERTIES
    LABELS packaging FIXTURES_REQUIRED debian_package)
endif()
