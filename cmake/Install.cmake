# Installation and the Debian package.
#
# `cmake --install build --prefix P` gives a working program: the programs
# in P/bin, the shipped catalogue in P/share/tarvel/Data (a read-only copy
# that each user's data folder is seeded from on first start), and the
# desktop entry, icon, AppStream metainfo and MIME types where the desktop
# looks for them. `cpack -G DEB` in the build folder makes tarvel_VERSION_ARCH.deb.
include(GNUInstallDirs)

set(TARVEL_APP_ID org.tarvel.Tarvel)
set(TARVEL_LINUX_DIR ${CMAKE_SOURCE_DIR}/data/linux)

install(TARGETS tarvel tarvel-cli qxsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TARVEL_BIN_DIR}/Data/QX.qxd DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/Data)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Servers DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel/Data)
# The manual, once the build makes one.
install(FILES ${TARVEL_BIN_DIR}/Tarvel_Help.chm DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvel OPTIONAL)

install(FILES ${TARVEL_LINUX_DIR}/${TARVEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TARVEL_LINUX_DIR}/${TARVEL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(${TARVEL_LINUX_DIR}/${TARVEL_APP_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/${TARVEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${TARVEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TARVEL_LINUX_DIR}/${TARVEL_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${TARVEL_APP_ID}.xml)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tarvel)
set(CPACK_PACKAGE_CONTACT "Tarvel developers <dev@tarvel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration and commissioning tool for QX AC drives")
set(CPACK_PACKAGE_DESCRIPTION
    "Builds and checks the parameter sets of QX drives, saves them as files, and\n"
    "uploads from and downloads to drives over Modbus RTU/ASCII or Modbus/TCP.\n"
    "With the command-line tool tarvel-cli and the drive simulator qxsim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plug-ins, so the library scan cannot see them: the catalogue's
# SQLite driver and the window system's platform plug-ins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)

# The desktop files against their validators, and the package built,
# unpacked and run (skipped, exit 77, where a tool is missing).
add_test(NAME desktop_files COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-package.sh --desktop ${CMAKE_SOURCE_DIR})
add_test(NAME package_check COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-package.sh ${CMAKE_BINARY_DIR})
set_tests_properties(desktop_files package_check PROPERTIES SKIP_RETURN_CODE 77)
set_tests_properties(package_check PROPERTIES TIMEOUT 300)
