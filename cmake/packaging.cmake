# The Debian package, built by CPack's DEB generator from what `cmake --install` installs
# (`make deb`, or `cpack -G DEB` in a build folder). Its version is the project's one version;
# its dependencies are worked out by dpkg-shlibdeps from the programs' shared libraries.
set(CPACK_PACKAGE_NAME "kelvox")
set(CPACK_PACKAGE_VENDOR "The Kelvox developers")
set(CPACK_PACKAGE_CONTACT "The Kelvox developers <${KELVOX_CONTACT_ADDRESS}>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PCI bus viewer with a Japanese window and a terminal front end")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_DEBIAN_PACKAGE_RELEASE "1")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# pci.ids: the names kelvox-cli gives by default; xdg-utils: xdg-open, which the about box's
# contact link and the vendor page's link open the mail program and the browser with.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pci.ids, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KELVOX_HOMEPAGE}")
# The long description; CPack puts the summary above it and indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kelvox searches the PCI bus of the machine it runs on and shows what it finds
in a small Japanese window: the 32 device numbers of one bus and function with
their configuration registers, a details sheet that decodes one device's
configuration header, and a search window that names vendor IDs, device IDs
and class codes. The terminal front end kelvox-cli shows the same things as
text, lists every function of every bus, captures a bus into a file and
writes JSON.")

# The changelog Debian's policy asks for, compressed as it wants it.
find_program(KELVOX_GZIP gzip)
if(KELVOX_GZIP)
  set(kelvox_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../packaging/changelog.Debian.in ${kelvox_changelog}
                 @ONLY)
  execute_process(COMMAND ${KELVOX_GZIP} -9 -n -f -k ${kelvox_changelog})
  include(GNUInstallDirs)
  install(FILES ${kelvox_changelog}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvox)
  # The README, which the programs' help points to for the JSON schema and the capture format.
  set(kelvox_readme ${CMAKE_BINARY_DIR}/packaging/README.md)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../README.md ${kelvox_readme} COPYONLY)
  execute_process(COMMAND ${KELVOX_GZIP} -9 -n -f -k ${kelvox_readme})
  install(FILES ${kelvox_readme}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvox)
endif()

include(CPack)
