# Installing the programs the way Linux desktop tools are, and the Debian package.
#   cmake --install build --prefix P   gives P/bin/{dtuconfig,dtucfg,dtusim} and
#                                      P/share/dtuconfig/skin, runnable from anywhere
#   cpack -G DEB  (in the build folder) gives dtuconfig_<version>_<arch>.deb installing to /usr
# The programs find an installed tree by ../share/dtuconfig beside their folder
# (platform/file_locations.h); the build tree keeps working as it is.
include(GNUInstallDirs)

set(DTU_APP_ID org.example.dtuconfig)
set(DTU_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
set(DTU_DATA_DEST ${CMAKE_INSTALL_DATADIR}/dtuconfig)

set(DTU_INSTALLED_PROGRAMS dtucfg dtusim)
if(DTU_BUILD_VIEW)
    list(PREPEND DTU_INSTALLED_PROGRAMS dtuconfig)
endif()
install(TARGETS ${DTU_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${DTU_BIN_DIR}/skin/ConifgENRes ${DTU_BIN_DIR}/skin/ConifgRes
        DESTINATION ${DTU_DATA_DEST}/skin)

# Desktop integration.
install(FILES ${DTU_DIST_DIR}/${DTU_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DTU_DIST_DIR}/${DTU_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${DTU_DIST_DIR}/icons/dtuconfig.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${DTU_APP_ID}.svg)
install(FILES ${DTU_DIST_DIR}/icons/dtuconfig.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME ${DTU_APP_ID}.png)
install(FILES ${DTU_DIST_DIR}/completion/dtucfg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Manual pages, from the scdoc sources in dist/man, gzipped as Debian keeps them.
find_program(SCDOC scdoc)
find_program(GZIP gzip)
if(SCDOC AND GZIP)
    set(DTU_MAN_PAGES)
    foreach(page dtuconfig dtucfg dtusim)
        set(source ${DTU_DIST_DIR}/man/${page}.1.scd)
        set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
        add_custom_command(
            OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND sh -c "\"$1\" < \"$2\" | \"$3\" -9n > \"$4\"" sh ${SCDOC} ${source} ${GZIP}
                    ${output}
            DEPENDS ${source}
            COMMENT "Generating the manual page ${page}(1)"
            VERBATIM)
        list(APPEND DTU_MAN_PAGES ${output})
    endforeach()
    add_custom_target(man_pages ALL DEPENDS ${DTU_MAN_PAGES})
    install(FILES ${DTU_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(WARNING "scdoc or gzip not found: no manual pages (tools/setup.sh installs scdoc)")
endif()

# The licence and the changelog, where Debian keeps them: the machine-readable copyright
# file and the changelog gzipped.
set(DTU_DOC_DEST ${CMAKE_INSTALL_DATADIR}/doc/dtuconfig)
set(DTU_MAINTAINER "The dtuconfig developers <dtuconfig@example.org>")
install(FILES ${DTU_DIST_DIR}/debian/copyright DESTINATION ${DTU_DOC_DEST})
if(GZIP)
    # Debian's changelog format, made from CHANGELOG.md.
    set(DTU_CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog)
    add_custom_command(
        OUTPUT ${DTU_CHANGELOG}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
        COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/CHANGELOG.md -DOUT=${DTU_CHANGELOG}
                -DPACKAGE=dtuconfig "-DMAINTAINER=${DTU_MAINTAINER}"
                -P ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
        COMMAND ${GZIP} -9nf ${DTU_CHANGELOG}
        DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/cmake/DebianChangelog.cmake
        COMMENT "Writing the package's changelog"
        VERBATIM)
    add_custom_target(changelog ALL DEPENDS ${DTU_CHANGELOG}.gz)
    install(FILES ${DTU_CHANGELOG}.gz DESTINATION ${DTU_DOC_DEST})
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dtuconfig)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${DTU_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for cellular data terminal units (DTUs)")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop tool (dtuconfig) and a command-line tool (dtucfg) that read and\n\
write the parameters of serial-to-network modems with a GPRS, CDMA or NB-IoT\n\
radio over a serial port, with AT command lines. dtusim simulates a unit for\n\
trying them without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://dtuconfig.example.org/)
# Depends from the shared libraries the programs link (dpkg-shlibdeps): Qt 6 Widgets,
# libudev, pugixml and the C++ runtime. The Chinese skin is drawn with this font and shows
# Qt's own dialogs with Qt's Chinese translations; Wayland desktops need Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, qt6-translations-l10n, qt6-wayland")
include(CPack)
