# A Debian package of everything installed: `cpack -G DEB` in the build folder.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tidefetch)
set(CPACK_PACKAGE_VENDOR "The Tidefetch developers")
set(CPACK_PACKAGE_CONTACT "The Tidefetch developers <tidefetch@velm.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "download manager that checks file links and queues the available files")
set(CPACK_PACKAGE_DESCRIPTION
    "Tidefetch downloads files kept on a file-hosting service. Links come from a search of a public
file-search site, from a paste box and from the clipboard. Each link is first checked with the
service; the available files are then queued and downloaded one at a time, resuming where a
stopped download left off. The package also holds tidefetch-emulator, a stand-in for the service
on the loopback interface.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# dpkg-shlibdeps finds the Qt libraries the programs link; the plugins Qt loads
# at run time (SQLite, the display platforms) it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")

include(CPack)
