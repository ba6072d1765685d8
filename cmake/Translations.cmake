# The translation files (text/translations, one per language of text/languages.def) and the one
# command that brings them up to date with the texts marked in the sources:
#     cmake --build <build> --target update_translations
# New texts arrive untranslated (checks_translations then fails, naming them, until each has its
# translation); texts gone from the sources are dropped. Texts are matched by context and German
# wording, so a changed German text needs its translation again.
#
# The command runs Qt's lupdate (Debian: qt6-l10n-tools), a tool of the developer's machine:
# only a build with the GUI looks for it, so that a build without the GUI names nothing of Qt.
# The programs themselves read the files without Qt (text/CMakeLists.txt).
if(NOT TRZ4_GUI)
    return()
endif()

set(trz4_qt_tool_hints /usr/lib/qt6/bin)
if(QT_HOST_PATH)
    list(PREPEND trz4_qt_tool_hints "${QT_HOST_PATH}/lib/qt6/bin")
endif()
if(TARGET Qt6::qmake)
    get_target_property(trz4_qmake Qt6::qmake IMPORTED_LOCATION)
    get_filename_component(trz4_qmake_dir "${trz4_qmake}" DIRECTORY)
    list(PREPEND trz4_qt_tool_hints "${trz4_qmake_dir}")
endif()
find_program(TRZ4_LUPDATE NAMES lupdate-qt6 lupdate HINTS ${trz4_qt_tool_hints}
             NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# Every source with marked texts: those of the libraries marked TRANSLATED and the ones named with
# trz4_translatable (another system's files among them, so that the files come out the same
# whichever system they are updated on).
get_property(trz4_translatable_sources GLOBAL PROPERTY TRZ4_TRANSLATABLE_SOURCES)
list(REMOVE_DUPLICATES trz4_translatable_sources)
list(SORT trz4_translatable_sources)
set(trz4_translatable_list "${PROJECT_BINARY_DIR}/translatable_sources.txt")
string(JOIN "\n" trz4_translatable_lines ${trz4_translatable_sources})
file(CONFIGURE OUTPUT "${trz4_translatable_list}" CONTENT "${trz4_translatable_lines}\n")
# trText and vekText calls are found like QCoreApplication::translate calls, TRZ4_TRANSLATABLE like
# QT_TRANSLATE_NOOP.
set(TRZ4_LUPDATE_ARGUMENTS -silent -locations none -no-obsolete -source-language de
    -tr-function-alias QT_TRANSLATE_NOOP+=TRZ4_TRANSLATABLE,translate+=trText,translate+=vekText
    "@${trz4_translatable_list}")

set(trz4_update_commands "")
foreach(file IN LISTS TRZ4_TRANSLATION_FILES)
    string(REGEX REPLACE "^.*_([a-z]+)\\.ts$" "\\1" code "${file}")
    list(APPEND trz4_update_commands
         COMMAND "${TRZ4_LUPDATE}" ${TRZ4_LUPDATE_ARGUMENTS} -target-language ${code} -ts "${file}")
endforeach()
add_custom_target(update_translations ${trz4_update_commands}
    COMMENT "Updating the translation files from the sources' texts"
    VERBATIM)
