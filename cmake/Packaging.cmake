# SPDX-License-Identifier: GPL-3.0-or-later
# Packages of the installed tree. On Debian and Ubuntu, from the build directory:
#
#     cpack -G DEB        # gives mq7410_<version>_<arch>.deb, installed under /usr
#
# The version is the project's; the runtime dependencies of the programs are found by
# dpkg-shlibdeps (Debian package dpkg-dev), so they follow the Qt libraries they link.

# The project's one identity, in the package, the changelog, the copyright and the metainfo.
set(MQ7410_PROJECT_NAME "MQ-7410 Front Panel Project")
set(MQ7410_MAINTAINER "${MQ7410_PROJECT_NAME} <packaging@mq7410.org>"
    CACHE STRING "Maintainer of the packages: name <address>")
# The AppStream component ID, in reverse-DNS form; the metainfo file is named after it.
set(MQ7410_APP_ID "org.mq7410.frontpanel")

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${MQ7410_PROJECT_NAME})
set(CPACK_PACKAGE_CONTACT ${MQ7410_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front panel for the MQ-7410 programmable DC power supply")
set(CPACK_PACKAGE_DESCRIPTION [=[
A desktop program (Qt 6) for the MQ-7410, a dual-channel programmable
DC power supply (0-32 V, 0-3 A per channel) attached by a serial line.
At start-up it finds the supply's port, asking about each serial port
that opens; then it sends the voltages and currents typed on its keypad
or the keyboard, switches the output and the series link of the two
channels, and plays sequences of nine timed steps, which it opens from
and saves to CSV files and draws as a chart. A status bar and a frame
log tell what was sent.

It comes with mq7410-sim, a virtual supply on a pseudo-terminal that
shows every frame the panel sends: "mq7410-sim -- mq7410" tries the
panel without the supply.]=])
# The installed programs carry no debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

# Debian: one package, installed under /usr. No maintainer scripts: the package changes no
# permissions, groups or udev rules (see README, "No port opens on Linux?").
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins (xcb, wayland) at run time, so dpkg-shlibdeps cannot see
# them; Debian's libqt6gui6 only recommends the package that holds them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
elseif(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR TGZ)
endif()

include(CPack)
