# The Debian package: cpack -G DEB in a build folder configured with CMAKE_INSTALL_PREFIX=/usr
# (scripts/package.sh does both) gives poteedit_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME poteedit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR kumolab)
set(CPACK_PACKAGE_CONTACT "poteedit developers <poteedit@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese text editor with numbered sections and a cat")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "ぽてまるエディター is a text editor for Japanese-language writers. A document holds up to\n"
    "500 numbered sections, each with a name, an optional group and its own text, saved\n"
    "together as one .ptm file. All text stays CP932 (Shift_JIS) with CR LF line breaks,\n"
    "byte for byte. Includes ptmtool, which shows and builds .ptm files on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # poteedit_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://poteedit.example.org/)
# The shared libraries come from dpkg-shlibdeps. The tool buttons' SVG icons are drawn by a Qt
# plugin that nothing links to, so its package is named here (the platform plugins ship in
# libqt6gui6, which the libraries bring in), as is the dictionary MeCab reads for the revision
# check (IPA, UTF-8).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6 (>= 6.4), mecab-ipadic-utf8")
# Without these it still runs, with other fonts, English dialog buttons and no cache refresh.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, shared-mime-info, desktop-file-utils, hicolor-icon-theme")
include(CPack)
