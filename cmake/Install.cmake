# What `cmake --install` puts where: the programs, the desktop integration (desktop file, icon,
# AppStream metainfo) and the user's documentation. The program and its desktop integration
# come only with the GUI. The developer build trz4Steuerung-dev, the benchmarks and the tests
# are never installed. The udev rule that keeps ModemManager off the card's USB adapters
# changes how the whole system treats those adapters, so it is installed only when asked for:
# with -DTRZ4_INSTALL_UDEV=ON, or by itself with `cmake --install <build> --component udev`.
include(GNUInstallDirs)

set(TRZ4_APP_ID de.beispielwerk.trz4steuerung)
option(TRZ4_INSTALL_UDEV "Install the udev rule that keeps ModemManager off the card's adapters"
       OFF)
# Relative to the prefix; udev reads /usr/lib/udev/rules.d and /etc/udev/rules.d only, so with
# the default prefix /usr/local set it to /etc/udev/rules.d.
set(TRZ4_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING "Where the udev rule is installed")

set(dist ${PROJECT_SOURCE_DIR}/dist)
install(TARGETS trz4ctl trz4sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# bash-completion loads a command's completion from this folder on the command's first use.
install(FILES ${dist}/trz4ctl.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME trz4ctl)
if(TRZ4_GUI)
    install(TARGETS trz4Steuerung RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${dist}/${TRZ4_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${dist}/${TRZ4_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${dist}/${TRZ4_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

if(TRZ4_INSTALL_UDEV)
    install(FILES ${dist}/70-trz4steuerung.rules DESTINATION ${TRZ4_UDEV_RULES_DIR}
            COMPONENT udev)
else()
    install(FILES ${dist}/70-trz4steuerung.rules DESTINATION ${TRZ4_UDEV_RULES_DIR}
            COMPONENT udev EXCLUDE_FROM_ALL)
endif()

file(GLOB trz4_docs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md
     ${PROJECT_SOURCE_DIR}/docs/*.png)
# The README links to docs/..., so the documents keep that place beside it.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${trz4_docs} DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
