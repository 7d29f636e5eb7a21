# The Debian package of the Qt program, made by CPack: `cpack` in a release build directory.
# KESTROVA_VERSION_SUFFIX marks a build of a tree with uncommitted changes.
include(GNUInstallDirs)
set(KESTROVA_VERSION_SUFFIX "" CACHE STRING "Appended to the package version")
set(KESTROVA_PACKAGE_VERSION ${PROJECT_VERSION}${KESTROVA_VERSION_SUFFIX})
set(docs ${CMAKE_INSTALL_DATADIR}/doc/kestrova)

# Debian wants the manual page and the changelog compressed, without a time stamp.
# The changelog writes the date as e-mail does ("Sun, 06 Dec 2026 00:00:00 +0000").
execute_process(COMMAND env LC_ALL=C date -u -R -d ${KESTROVA_RELEASE_DATE}
    OUTPUT_VARIABLE KESTROVA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(resources/kestrova.1.in kestrova.1 @ONLY)
configure_file(resources/changelog.in changelog @ONLY)
foreach(file kestrova.1 changelog)
    add_custom_command(OUTPUT ${file}.gz COMMAND gzip -9nkf ${file} DEPENDS ${file})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS kestrova.1.gz changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/kestrova.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz resources/copyright DESTINATION ${docs})

# The README of the Windows zip, with Windows line ends.
configure_file(resources/README-windows.txt.in README.txt NEWLINE_STYLE CRLF @ONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VERSION ${KESTROVA_PACKAGE_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kestrova developers <kestrova@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tuning aid for linear-transponder amateur satellites")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestrova shows, for one of five transponder entries (FO-29, AO-7 Mode A and
Mode B, VO-52, HO-68) and a tuning offset in whole kHz, the uplink and
downlink frequency in MHz with three decimals and the sideband of each. It
works from the keyboard and with a screen reader and follows the locale's
decimal separator.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces the layout is drawn for: Liberation Sans has Arial's metrics. Debian 12 ships it as
# fonts-liberation2; Debian 13 folds it into fonts-liberation.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
