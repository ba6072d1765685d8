# What `cmake --install` puts where: the programs, the desktop integration (desktop file, icon,
# AppStream metainfo) and the user's documentation. Programs that this build does not have are
# left out. The udev rule that keeps ModemManager off the card's USB adapters changes how the
# whole system treats those adapters, so it is installed only when asked for: with
# -DTRZ4_INSTALL_UDEV=ON, or by itself with `cmake --install <build> --component udev`.
include(GNUInstallDirs)

set(TRZ4_APP_ID de.beispielwerk.trz4steuerung)
option(TRZ4_INSTALL_UDEV "Install the udev rule that keeps ModemManager off the card's adapters"
       OFF)
# Relative to the prefix; udev reads /usr/lib/udev/rules.d and /etc/udev/rules.d only, so with
# the default prefix /usr/local set it to /etc/udev/rules.d.
set(TRZ4_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING "Where the udev rule is installed")

foreach(program IN ITEMS trz4Steuerung trz4ctl trz4sim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

set(dist ${PROJECT_SOURCE_DIR}/dist)
install(FILES ${dist}/${TRZ4_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist}/${TRZ4_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${dist}/${TRZ4_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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
