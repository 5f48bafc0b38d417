# `make package`: a Debian package of the installed tree, built by CPack.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnot)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of the archive of incoming messages")
set(CPACK_PACKAGE_DESCRIPTION
    "VARNOT shows the archive of incoming news and radio-service messages that a\n"
    "receiving program writes, one file per message and one folder per day: the\n"
    "newest messages newest first, each new one as soon as it is announced, with\n"
    "caption lines, keywords and highlight words coloured. The operator filters,\n"
    "searches, copies, moves, deletes, exports and prints messages, in English or\n"
    "Russian. varnot-poke announces new files to the running viewer.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "VARNOT developers <varnot@pellmar.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the libraries the executables link; the SVG reader is a
# plug-in loaded at run time (the window icon), so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The tool bar's pictures, the toolkit's Russian texts, a readable font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme, qt6-translations-l10n, fonts-dejavu-core")

include(CPack)
