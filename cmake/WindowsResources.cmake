# The icon and the version resource of the Windows programs: Explorer shows them under
# Properties, the taskbar and the window's title bar show the icon, and the installer's entry
# in "Apps & features" takes the icon from the program.
#
# The icon is drawn at build time from the project's SVG (dist/), the one picture the Linux
# desktop icons come from too: rsvg-convert renders each size that Windows asks for, ImageMagick
# packs them into one .ico. The version is project(VERSION); the description is the
# program's own.
#
#   trz4_windows_resources(<target> "<description>")
# adds the compiled resource to a program's sources; on other systems it does nothing.

set(TRZ4_WINDOWS_MAKER "Beispielwerk Steuerungstechnik GmbH")

if(NOT WIN32)
    function(trz4_windows_resources)
    endfunction()
    return()
endif()

enable_language(RC)
find_program(TRZ4_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(TRZ4_IMAGEMAGICK_CONVERT convert REQUIRED)

set(trz4_icon_svg ${PROJECT_SOURCE_DIR}/dist/de.beispielwerk.trz4steuerung.svg)
set(TRZ4_WINDOWS_ICON ${PROJECT_BINARY_DIR}/windows/trz4steuerung.ico)
set(trz4_icon_pngs "")
# The sizes of Windows' views: small icons and the title bar (16, 24 at 150 %), the taskbar
# (32, 48), large and extra large icons (64, 256).
foreach(size 16 24 32 48 64 256)
    set(png ${PROJECT_BINARY_DIR}/windows/icon-${size}.png)
    add_custom_command(
        OUTPUT ${png}
        COMMAND ${TRZ4_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${trz4_icon_svg}
        DEPENDS ${trz4_icon_svg}
        VERBATIM)
    list(APPEND trz4_icon_pngs ${png})
endforeach()
add_custom_command(
    OUTPUT ${TRZ4_WINDOWS_ICON}
    COMMAND ${TRZ4_IMAGEMAGICK_CONVERT} ${trz4_icon_pngs} ${TRZ4_WINDOWS_ICON}
    DEPENDS ${trz4_icon_pngs}
    COMMENT "Drawing the Windows icon"
    VERBATIM)
add_custom_target(trz4_windows_icon DEPENDS ${TRZ4_WINDOWS_ICON})

function(trz4_windows_resources target description)
    if(NOT TARGET ${target})
        return()
    endif()
    set(trz4_program ${target})
    set(trz4_description "${description}")
    set(trz4_version_patch ${PROJECT_VERSION_PATCH})
    if(NOT trz4_version_patch)
        set(trz4_version_patch 0)
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/dist/windows/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    # windres reads the icon when it compiles the resource.
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TRZ4_WINDOWS_ICON})
    add_dependencies(${target} trz4_windows_icon)
endfunction()
