# What `cmake --install` puts under the prefix, and the Debian package made from it with
# CPack (`cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr).
# Included at the end of the top-level CMakeLists.txt, after every program's target.

foreach(page IN ITEMS corvane-console corvane-extract corvane)
  configure_file(${PROJECT_SOURCE_DIR}/man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/man/corvane-console.1 ${PROJECT_BINARY_DIR}/man/corvane-extract.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(TARGETS corvane-console corvane-extract RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md LICENSE CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY examples/ghcn-v2-sample DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The desktop program, once its target exists.
if(TARGET corvane)
  install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/man/corvane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES packaging/corvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/corvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "the Corvane developers")
set(CPACK_PACKAGE_CONTACT "the Corvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "extract station series from GHCN version 2 monthly climate files")
set(CPACK_PACKAGE_DESCRIPTION
    "Corvane extracts the monthly series of chosen stations from the GHCN version 2 climate data set: pick one of nine variables, select stations by country, latitude/longitude box (which may straddle the 180 degree meridian) and elevation, and get a log, a time-series file and the values that failed quality control. corvane-console runs the dialogue on a terminal; corvane-extract runs the same extraction from the command line.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends from the programs' shared libraries
if(TARGET corvane)
  # Qt's SVG plugin draws the desktop program's icon; no library links it, so it is named here.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS gmt-gshhg-low)  # the station map's coastlines
include(CPack)
