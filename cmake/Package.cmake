# `make deb`: a Debian package built by CPack from the install rules (see packaging/debian).
option(ZENTRIK_DEBIAN_DOCS "Install the copyright and changelog files a .deb carries" OFF)
if(ZENTRIK_DEBIAN_DOCS)
  set(_deb_doc ${CMAKE_CURRENT_BINARY_DIR}/debian-doc)
  file(MAKE_DIRECTORY ${_deb_doc})
  add_custom_command(
    OUTPUT ${_deb_doc}/changelog.Debian.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${_deb_doc}/changelog.Debian.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
  add_custom_target(zentrik_debian_docs ALL DEPENDS ${_deb_doc}/changelog.Debian.gz)
  install(FILES packaging/debian/copyright ${_deb_doc}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure Zentrik mice: buttons, DPI, macros")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Sets up the buttons, DPI levels, report rate, angle snapping and wheel of a\n"
       "Zentrik mouse, records and stores macros in the mouse and keeps backups of\n"
       "its memory. The zentrikctl tool does the same from scripts. A udev rule\n"
       "gives the user at the seat access to a Zentrik mouse without root.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zentrik Mouse for Linux developers <devel@zentrik.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opened at run time rather than linked, so shlibdeps does not see them; the versions are the
# oldest that have every function the program looks up.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libayatana-appindicator3-1 (>= 0.4.90), libnotify4 (>= 0.7.0)")
# uaccess needs udev and a seat manager (systemd-logind on Debian).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, systemd | elogind")
# Only a postinst: with a postrm dpkg would keep the package's record after `apt remove`. A
# mouse that stays plugged in keeps its access until it is unplugged or the session ends.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
