# The Debian package (scripts/make-package runs cpack): the executables in bin, the shipped
# data in share/vordell (the program finds it relative to its executable and copies it into the
# user's data folder), the desktop entry and the icon.
include(GNUInstallDirs)

install(TARGETS vordell vordell-cli vordell-lzh RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/program/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vordell)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/vordell.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/vordell.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Installing builds only what is installed (scripts/make-package builds it), not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vordell)
set(CPACK_PACKAGE_VERSION 7.800) # the version in the main window's caption
set(CPACK_PACKAGE_VENDOR "VORDELL")
set(CPACK_PACKAGE_CONTACT "VORDELL <vordell@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "VORDELL(港湾版) - 新技術の登録申請データ作成")
set(CPACK_PACKAGE_DESCRIPTION "Prepares the application that registers a construction technology for port and \
harbour works in the national new-technology database: entry, checks, printable report and submission file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Libraries (Qt, libarchive, the C++ runtime) as dpkg-shlibdeps finds them in the executables,
# and what the program loads without linking it: the Japanese font, Qt's Japanese texts and the
# SVG plugins that draw the windows' icon.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n, libqt6svg6")
include(CPack)
