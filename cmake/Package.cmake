# The Debian packages, one per install component (cmake/Install.cmake), made with
#   cpack -G DEB        (in the build directory; a Release build gives the smallest)
# - trz4steuerung: the program, trz4ctl, the desktop integration, man pages, documentation;
# - trz4steuerung-sim: the card simulator, for trying the program without a card;
# - trz4steuerung-udev: the rule that keeps ModemManager off the card's USB adapters.
# Their dependencies come from the shared libraries the programs really link (dpkg-shlibdeps).
# Each package carries the copyright and changelog Debian wants in /usr/share/doc/<package>;
# those stay out of a plain `cmake --install`.
if(WIN32)
    return()
endif()

set(trz4_maker "Beispielwerk Steuerungstechnik GmbH")
set(CPACK_PACKAGE_NAME ${TRZ4_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR ${trz4_maker})
set(CPACK_PACKAGE_CONTACT "${trz4_maker} <info@beispielwerk.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.beispielwerk.example/")
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program simulator udev)
set(CPACK_STRIP_FILES ON)
# Directories as Debian expects them, whatever the umask of the one who builds.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME ${TRZ4_PACKAGE_NAME})
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION
    "control program for the trz-4 controller card
trz4Steuerung sets up and queries the trz-4 controller card, which is
connected by a USB cable and appears as a serial COM port: choose the port
and the card's address, scan for the card, read its identification and
status word, and read or change its card number after confirming a warning.
trz4ctl offers the same card commands to scripts and test benches.")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SUGGESTS
    "${TRZ4_PACKAGE_NAME}-sim, ${TRZ4_PACKAGE_NAME}-udev")
if(TRZ4_GUI)
    # Qt's own dialog buttons in German.
    set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "qt6-translations-l10n")
endif()

set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME ${TRZ4_PACKAGE_NAME}-sim)
set(CPACK_COMPONENT_SIMULATOR_DESCRIPTION
    "card simulator for trying trz4-Steuerung without hardware
trz4sim plays one or more trz-4 cards on a pseudo-terminal and enters it in
the port map as a COM port, so that trz4Steuerung and trz4ctl talk to it as
to a real card. It can also play faults: silence, refused frames, garbled
or broken-off answers.")
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_ENHANCES ${TRZ4_PACKAGE_NAME})

set(CPACK_DEBIAN_UDEV_PACKAGE_NAME ${TRZ4_PACKAGE_NAME}-udev)
set(CPACK_DEBIAN_UDEV_PACKAGE_ARCHITECTURE all)
set(CPACK_COMPONENT_UDEV_DESCRIPTION
    "keeps ModemManager off the USB serial adapters of the trz-4 card
A udev rule that tells ModemManager to leave the usual USB serial adapter
chips (FTDI, Prolific, Silicon Labs, WCH) alone, so that it neither holds
the port nor sends AT commands to the card. It applies to every such adapter
on the machine and grants no access: the ports stay with the group dialout.")
set(CPACK_DEBIAN_UDEV_PACKAGE_ENHANCES ${TRZ4_PACKAGE_NAME})

# The changelog's one entry: this release, on the release's day.
execute_process(COMMAND date -u -R -d "${TRZ4_RELEASE_DAY} 12:00"
                OUTPUT_VARIABLE TRZ4_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(trz4_debian ${PROJECT_BINARY_DIR}/debian)
configure_file(${dist}/debian/changelog.in ${trz4_debian}/changelog @ONLY)
add_custom_command(
    OUTPUT ${trz4_debian}/changelog.gz
    COMMAND gzip -9nc ${trz4_debian}/changelog > ${trz4_debian}/changelog.gz
    DEPENDS ${trz4_debian}/changelog
    COMMENT "Compressing the Debian changelog")
add_custom_target(debian_changelog ALL DEPENDS ${trz4_debian}/changelog.gz)

foreach(component program simulator udev)
    string(TOUPPER ${component} upper)
    install(FILES ${dist}/debian/copyright ${trz4_debian}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME}
            COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
