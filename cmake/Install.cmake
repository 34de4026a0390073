# Installing Corvane like a desktop program, and the Debian package (cpack -G DEB).
#
# Layout under the prefix: bin/corvane, bin/corvane-cli, share/corvane/INIs (the shipped INI
# files; an installed program keeps the user's own copy in ~/.config/corvane/INIs),
# share/applications, share/metainfo, share/mime/packages, share/icons/hicolor, share/man/man1,
# share/bash-completion/completions and share/doc/corvane.
include(GNUInstallDirs)

set(CORVANE_APP_ID org.corvane.Corvane)
set(CORVANE_LINUX_DATA ${CMAKE_SOURCE_DIR}/data/linux)

install(TARGETS corvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET corvane)
  install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CORVANE_LINUX_DATA}/${CORVANE_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${CORVANE_LINUX_DATA}/${CORVANE_APP_ID}.metainfo.xml
                 ${CMAKE_BINARY_DIR}/${CORVANE_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${CORVANE_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CORVANE_LINUX_DATA}/${CORVANE_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${CORVANE_APP_ID}.svg)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/corvane-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${CORVANE_APP_ID}.png)
  endforeach()
endif()

file(GLOB CORVANE_INSTALLED_INIS ${CMAKE_SOURCE_DIR}/data/INIs/*)
install(FILES ${CORVANE_INSTALLED_INIS} DESTINATION ${CMAKE_INSTALL_DATADIR}/corvane/INIs)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/cli.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page and the bash completion of corvane-cli, made from its own help at build time.
find_program(CORVANE_HELP2MAN help2man)
set(CORVANE_MAN_PAGE ${CMAKE_BINARY_DIR}/man/corvane-cli.1)
set(CORVANE_COMPLETION ${CMAKE_BINARY_DIR}/completion/corvane-cli)
if(CORVANE_HELP2MAN)
  add_custom_command(
    OUTPUT ${CORVANE_MAN_PAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${CORVANE_HELP2MAN} --no-info --no-discard-stderr
            --name "firmware image editor for MHW satellite receivers"
            --output ${CORVANE_MAN_PAGE} $<TARGET_FILE:corvane-cli>
    DEPENDS corvane-cli
    COMMENT "Writing the manual page of corvane-cli")
  add_custom_target(corvane_man ALL DEPENDS ${CORVANE_MAN_PAGE})
  install(FILES ${CORVANE_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
add_custom_command(
  OUTPUT ${CORVANE_COMPLETION}
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:corvane-cli> -DOUT=${CORVANE_COMPLETION}
          -P ${CMAKE_SOURCE_DIR}/cmake/BashCompletion.cmake
  DEPENDS corvane-cli ${CMAKE_SOURCE_DIR}/cmake/BashCompletion.cmake
  COMMENT "Writing the bash completion of corvane-cli")
add_custom_target(corvane_completion ALL DEPENDS ${CORVANE_COMPLETION})
install(FILES ${CORVANE_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The Debian package: its dependencies are found from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "Corvane developers <corvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Firmware image editor for MHW satellite receivers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Firmware image editor for MHW satellite receivers\n Opens the firmware image or patch of one of 27 receiver models, shows the file\n system inside it as a tree, extracts and inserts files, edits the resources\n they hold and saves a rebuilt image with its checksums. Includes corvane-cli.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

if(CORVANE_BUILD_TESTS AND TARGET corvane AND CORVANE_HELP2MAN)
  add_test(NAME install_layout
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install_test.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_BINARY_DIR}/demo/demo.bin)
endif()
