# What `cmake --install` puts where, in three components that are also the three Debian
# packages (debian/, whose *.install files share the files out):
# - program: trz4Steuerung with its desktop integration (desktop file, icons, AppStream
#   metainfo), trz4ctl, their man pages and the user's documentation. The program and its
#   desktop integration come only with the GUI.
# - simulator: the card simulator trz4sim and its man page, a test tool that operators need
#   not have in /usr/bin.
# - udev: the rule that keeps ModemManager off the card's USB adapters. It changes how the
#   whole system treats those adapters, so it is installed only when asked for: with
#   -DTRZ4_INSTALL_UDEV=ON, by itself with `cmake --install <build> --component udev`, or as
#   its own package.
# A plain install brings program and simulator. The developer build trz4Steuerung-dev, the
# benchmarks and the tests are never installed.

set(TRZ4_APP_ID de.beispielwerk.trz4steuerung)
include(GNUInstallDirs)
# The package's name, lower case as Debian requires; the documentation lives under it, beside
# the package's copyright file.
set(TRZ4_PACKAGE_NAME trz4steuerung)
set(TRZ4_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${TRZ4_PACKAGE_NAME})
option(TRZ4_INSTALL_UDEV "Install the udev rule that keeps ModemManager off the card's adapters"
       OFF)
# Relative to the prefix: udev reads its rules from /usr/lib/udev/rules.d and from
# /usr/local/lib/udev/rules.d (besides /etc/udev/rules.d), so either prefix works.
set(TRZ4_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING "Where the udev rule is installed")
# The man pages run the programs at build time, which a cross build cannot.
if(CMAKE_CROSSCOMPILING)
    set(trz4_man_default OFF)
else()
    set(trz4_man_default ON)
endif()
option(TRZ4_MAN_PAGES "Write and install man pages from the programs' --help (help2man)"
       ${trz4_man_default})

set(dist ${PROJECT_SOURCE_DIR}/dist)

# Stops the configuration unless `text` matches `regex` and the regex's first group is the
# project's version: the files that name the release must not fall behind it. The second group,
# if any, comes back in trz4_release_detail.
function(trz4_require_release text regex what add_hint)
    if(NOT text MATCHES "${regex}")
        message(FATAL_ERROR "${what} names no release in the expected form")
    endif()
    if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "${what}'s newest release is ${CMAKE_MATCH_1}, the project's "
                            "version ${PROJECT_VERSION}: ${add_hint}")
    endif()
    set(trz4_release_detail "${CMAKE_MATCH_2}" PARENT_SCOPE)
endfunction()

# The release's date is that of the newest release in the AppStream metainfo, which must name
# the project's version; the man pages and the Debian changelog carry it.
file(READ ${dist}/${TRZ4_APP_ID}.metainfo.xml trz4_metainfo)
trz4_require_release("${trz4_metainfo}" "<release version=\"([^\"]+)\" date=\"([0-9-]+)\""
                     "the metainfo" "add a <release> with its date for it")
set(TRZ4_RELEASE_DAY ${trz4_release_detail})
# The Debian package's newest entry must be of the same release (its revision aside).
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog trz4_changelog_head LIMIT_COUNT 1)
trz4_require_release("${trz4_changelog_head}" "^${TRZ4_PACKAGE_NAME} \\(([^)-]+)(-[^)]*)?\\) "
                     "debian/changelog" "add an entry of ${TRZ4_PACKAGE_NAME} for it (dch -v)")

# Man pages: help2man writes each program's page from its --help and --version at build time
# (cmake/man-page.cmake), so a new option shows up in the page without a second copy. German
# pages get German headings from a private copy of the locale de_DE.UTF-8 in the build tree.
if(TRZ4_MAN_PAGES)
    find_program(TRZ4_HELP2MAN help2man REQUIRED)
    find_program(TRZ4_LOCALEDEF localedef REQUIRED)
    set(trz4_locpath ${PROJECT_BINARY_DIR}/man-locale)
    add_custom_command(
        OUTPUT ${trz4_locpath}/de_DE.UTF-8/LC_CTYPE
        COMMAND ${CMAKE_COMMAND} -E make_directory ${trz4_locpath}
        COMMAND ${TRZ4_LOCALEDEF} -i de_DE -f UTF-8 ${trz4_locpath}/de_DE.UTF-8
        COMMENT "Making the locale de_DE.UTF-8 for the German man pages")
    add_custom_target(man_locale DEPENDS ${trz4_locpath}/de_DE.UTF-8/LC_CTYPE)
    # The pages' date is the release's, not the day of the build (help2man reads it from here).
    execute_process(COMMAND date -u -d "${TRZ4_RELEASE_DAY} 12:00" +%s
                    OUTPUT_VARIABLE trz4_release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
endif()

# trz4_man_page(program component): the man pages of a program, installed with its component.
function(trz4_man_page program component)
    if(NOT TRZ4_MAN_PAGES)
        return()
    endif()
    set(out ${PROJECT_BINARY_DIR}/man-pages/${program})
    add_custom_command(
        OUTPUT ${out}.stamp
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${trz4_release_epoch}
                ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program}
                -DOUT=${out} -DLOCPATH=${trz4_locpath} -DHELP2MAN=${TRZ4_HELP2MAN}
                -DINCLUDES=${dist}/man -P ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
        COMMAND ${CMAKE_COMMAND} -E touch ${out}.stamp
        DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/man-page.cmake
                ${dist}/man/${program}.en.h2m ${dist}/man/${program}.de.h2m
        COMMENT "Writing the man pages of ${program} from its --help")
    add_custom_target(${program}_man ALL DEPENDS ${out}.stamp)
    add_dependencies(${program}_man man_locale)
    # Which languages a page comes in shows only when it is written: install the tree.
    install(DIRECTORY ${out}/ DESTINATION ${CMAKE_INSTALL_MANDIR} COMPONENT ${component})
endfunction()

# trz4ctl with its man page; its shell completion goes with it into COMPONENT program.
install(TARGETS trz4ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
trz4_man_page(trz4ctl program)
# bash-completion loads a command's completion from this folder on the command's first use.
install(FILES ${dist}/trz4ctl.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME trz4ctl
        COMPONENT program)
# The simulator plays a card on a pseudo-terminal: Linux only.
if(NOT WIN32)
    install(TARGETS trz4sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT simulator)
    trz4_man_page(trz4sim simulator)
endif()

if(TRZ4_GUI)
    install(TARGETS trz4Steuerung RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
    trz4_man_page(trz4Steuerung program)
    install(FILES ${dist}/${TRZ4_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
    install(FILES ${dist}/${TRZ4_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)
    install(FILES ${dist}/${TRZ4_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)

    # The icon also as PNG in the sizes menus and docks ask for first, drawn from the SVG.
    find_program(TRZ4_RSVG_CONVERT rsvg-convert REQUIRED)
    set(pngs "")
    foreach(size 48 64 128)
        set(png ${PROJECT_BINARY_DIR}/icons/${size}x${size}/${TRZ4_APP_ID}.png)
        add_custom_command(
            OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
            COMMAND ${TRZ4_RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
                    ${dist}/${TRZ4_APP_ID}.svg
            DEPENDS ${dist}/${TRZ4_APP_ID}.svg
            COMMENT "Drawing the ${size} px icon")
        list(APPEND pngs ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                COMPONENT program)
    endforeach()
    add_custom_target(icons ALL DEPENDS ${pngs})
endif()

if(TRZ4_INSTALL_UDEV)
    install(FILES ${dist}/70-trz4steuerung.rules DESTINATION ${TRZ4_UDEV_RULES_DIR}
            COMPONENT udev)
else()
    install(FILES ${dist}/70-trz4steuerung.rules DESTINATION ${TRZ4_UDEV_RULES_DIR}
            COMPONENT udev EXCLUDE_FROM_ALL)
endif()

# The user's documents. The guide to building for Windows and testing under Wine is for
# developers and stays in the source.
file(GLOB trz4_docs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md
     ${PROJECT_SOURCE_DIR}/docs/*.png)
list(REMOVE_ITEM trz4_docs ${PROJECT_SOURCE_DIR}/docs/building-windows.md)
# The README links to docs/..., so the documents keep that place beside it.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${TRZ4_DOCDIR} COMPONENT program)
install(FILES ${trz4_docs} DESTINATION ${TRZ4_DOCDIR}/docs COMPONENT program)
