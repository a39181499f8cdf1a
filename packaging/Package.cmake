# The Debian package (CPack's DEB generator); scripts/package builds it. Its dependencies
# come from dpkg-shlibdeps reading the programs and libraries it holds.
option(KES_DEBIAN_PACKAGE "Install the Debian package's own files too (changelog.Debian.gz)" OFF)

if(KES_DEBIAN_PACKAGE)
  configure_file(debian/changelog.in changelog.Debian @ONLY)
  add_custom_command(OUTPUT changelog.Debian.gz
                     COMMAND gzip -9nf -k changelog.Debian
                     DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian
                     WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  add_custom_target(kes_debian_changelog ALL DEPENDS changelog.Debian.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${KES_INSTALL_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(CPACK_PACKAGE_CONTACT "Quillmoor <kestrova@quillmoor.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "collects the top results of a web search")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kestrova.quillmoor.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/services ${CMAKE_BINARY_DIR}/platform ${CMAKE_BINARY_DIR}/engine)
# CPack puts the summary first; this is the extended part, at most 80 columns a line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kestrova pages through a search engine's results pages for a keyword,
collects the result links in a range of positions and, when asked, downloads
every result page into a folder named after the keyword.
.
This package holds the Qt window (kestrova) and the command-line front end
(kestrova-cli) with their shared engine library.")

include(CPack)
