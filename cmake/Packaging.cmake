# Installation and the Debian package. `cmake --install build --prefix P`
# puts the programs in P/bin and their data in P/share; `cpack -G DEB` in the
# build folder makes quorvel_<version>_<arch>.deb.
include(GNUInstallDirs)

install(TARGETS quorvel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The crash handler of the desktop program starts the reporter from its own
# folder.
if(TARGET quorvel-crash-report)
  install(TARGETS quorvel-crash-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/site
  DESTINATION ${CMAKE_INSTALL_DATADIR}/quorvel/examples)
# The example project names its folder relative to the source tree; the
# installed copy names the installed folder (sed keeps its CR LF line ends).
install(CODE "
  set(folder \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/quorvel/examples\")
  message(STATUS \"Installing: \$ENV{DESTDIR}\${folder}/example.hc\")
  execute_process(COMMAND sed -e \"s|^Folder=examples/site|Folder=\${folder}/site|\"
    \"${PROJECT_SOURCE_DIR}/examples/example.hc\"
    OUTPUT_FILE \"\$ENV{DESTDIR}\${folder}/example.hc\" COMMAND_ERROR_IS_FATAL ANY)
")
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvel)

set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR Maltrane)
set(CPACK_PACKAGE_CONTACT "Maltrane <support@maltrane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "On-page search-engine-optimisation checker")
set(CPACK_PACKAGE_DESCRIPTION "Quorvel checks a site's HTML files for a keyword against a
search engine's rule set of 86 checks and reports every finding with its
importance, message and position. It has a desktop program (quorvel) and a
command-line tool (quorvel-cli).")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
# The shared libraries' packages come from dpkg-shlibdeps; the rest is what
# the desktop integration and help use.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUORVEL_GUI)
  # The SVG icon engine is a plugin, which dpkg-shlibdeps does not see (the
  # X11 platform plugin comes with libqt6gui6, the Wayland one apart).
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, shared-mime-info, hicolor-icon-theme")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, fonts-dejavu-core")
endif()
include(CPack)
