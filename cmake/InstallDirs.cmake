# Where `cmake --install` puts things. The data folder is compiled into the programs: they look
# there for the language, settings and macro library samples when the user has none.
include(GNUInstallDirs)
set(ZENTRIK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/zentrik)
set(ZENTRIK_INSTALL_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR}/zentrik)
# udev reads rules from <prefix>/lib/udev/rules.d (/usr/lib/udev and /usr/local/lib/udev); the
# rule names the probe by its full path.
set(ZENTRIK_INSTALL_UDEVDIR lib/udev)
set(ZENTRIK_INSTALL_FULL_UDEVDIR ${CMAKE_INSTALL_PREFIX}/lib/udev)
