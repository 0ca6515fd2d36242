# `make package`: a Debian package of what `make install` installs, under
# /usr, depending on the Qt 6 runtime packages Telvaro loads.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME telvaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Telvaro developers <telvaro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Telephone dialer with a speed-dial directory")
set(CPACK_PACKAGE_DESCRIPTION
    "Telvaro dials telephone numbers through a voice-capable modem, or plays the touch \
tones through the sound card. Speed-dial directory with memo pads, call progress \
and busy redial, call logs with caller ID, dialing locations, profiles, and \
numbers from tel: links and other programs over D-Bus.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6dbus6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6svg6 (>= 6.4), qt6-qpa-plugins, libasound2, libc6, libstdc++6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
