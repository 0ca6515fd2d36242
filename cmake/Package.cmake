# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: a Debian package of what `make install` installs, under
# /usr, depending on the Qt 6 runtime packages Telvaro loads, with the
# copyright file and the Debian changelog Debian's policy asks for.
include(GNUInstallDirs)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME telvaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_CONTACT "Telvaro developers <telvaro@telvaro.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://telvaro.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "telephone dialer with a speed-dial directory")
# Lines of the long description stay under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Telvaro dials telephone numbers through a voice-capable modem, or plays
the touch tones through the sound card. Speed-dial directory with memo
pads, call progress and busy redial, call logs with caller ID, dialing
locations, profiles, and numbers from tel: links and other programs over
D-Bus.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install runs with the package's prefix (a staging DESTDIR below it), so
# files that name installed paths (the D-Bus service) name /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6dbus6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6svg6 (>= 6.4), qt6-qpa-plugins, libasound2, libc6, libstdc++6")
# Qt's own texts (standard buttons, file dialogs) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)

# The copyright file (machine-readable), the Debian changelog and lintian's
# overrides, for the package only: `make install` leaves them out.
set(telvaro_debian_changelog ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
add_custom_command(OUTPUT ${telvaro_debian_changelog}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh
            ${PROJECT_SOURCE_DIR}/packaging/debian/changelog ${telvaro_debian_changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
    VERBATIM)
add_custom_target(telvaro_debian_changelog ALL DEPENDS ${telvaro_debian_changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${telvaro_debian_changelog}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/telvaro COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME telvaro
        COMPONENT debian EXCLUDE_FROM_ALL)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
include(CPack)
