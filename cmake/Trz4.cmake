# Helpers that every folder uses to declare its targets. One pattern throughout: the root
# CMakeLists.txt names every folder, a folder's CMakeLists.txt names each of its sources and
# tests; a folder or source that is missing is a configure error. No piece is included
# optionally, no source found by a glob.
#
# Targets marked GUI exist only with TRZ4_GUI (they need Qt); targets marked TEST_SUPPORT and
# the tests exist only with TRZ4_TESTS; targets marked DEVELOPER (the developer hooks and the
# program build that carries them) only with TRZ4_BENCH; targets marked LINUX (pseudo-terminals,
# fork, file permissions: the card simulator and the tests built on them) only when the target
# system is not Windows. Linking a target that the configuration leaves out through its trz4::
# alias is a configure error, so a GUI-free target that starts to need the GUI fails in the
# GUI-free build instead of pulling Qt in.
#
# Code that differs per operating system lives in files of its own, named <name>_posix.cpp and
# <name>_win32.cpp; a folder lists <name>_${TRZ4_OS}.cpp, so the other system's file is never
# compiled and a missing one is a configure error.
if(WIN32)
    set(TRZ4_OS win32)
    # Windows 10 and later; <windows.h> without its rarely used parts and without the min/max
    # macros that break std::min and std::max.
    add_compile_definitions(_WIN32_WINNT=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX)
else()
    set(TRZ4_OS posix)
endif()

# The program's translation catalogue is made from the texts marked in these sources (Qt's
# tr(), QCoreApplication::translate, QT_TRANSLATE_NOOP, and TRZ4_TRANSLATABLE in code without
# Qt). Libraries marked TRANSLATED add all their sources; trz4_translatable adds others, such
# as another system's files that this configuration does not compile, so that the catalogue
# is the same whichever system it is updated on.
function(trz4_translatable)
    foreach(file IN LISTS ARGN)
        get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
        if(NOT EXISTS "${path}")
            message(FATAL_ERROR "trz4: translatable source ${path} does not exist")
        endif()
        set_property(GLOBAL APPEND PROPERTY TRZ4_TRANSLATABLE_SOURCES "${path}")
    endforeach()
endfunction()

# Warnings for our own code only; Qt and GoogleTest headers come in as system headers.
# Warnings are errors with TRZ4_WERROR (CI): a user's newer or older compiler that finds
# something new does not break the build.
function(trz4_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    # g++ 12 at -O3 reports -Wrestrict inside std::string's operator+ for a literal plus a
    # temporary string, an overlap that cannot happen (GCC bug 105329): a
    # false alarm that would otherwise break every optimised build that forms texts that way.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(TRZ4_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# Qt's code generator for the targets that use Qt: moc for classes with Q_OBJECT.
function(trz4_qt target)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
endfunction()

# True in `result` when a target with these marks belongs to this configuration.
function(trz4_wanted result gui test_support developer linux)
    set(wanted TRUE)
    if((gui AND NOT TRZ4_GUI) OR (test_support AND NOT TRZ4_TESTS)
       OR (developer AND NOT TRZ4_BENCH) OR (linux AND WIN32))
        set(wanted FALSE)
    endif()
    set(${result} ${wanted} PARENT_SCOPE)
endfunction()

# trz4_library(name [GUI] [TEST_SUPPORT] [DEVELOPER] [LINUX] [OBJECT] [TRANSLATED] SOURCES ...
# [DEPENDS ...]): a static library with the alias trz4::name, whose headers are included as
# "folder/header.h" from the source root. OBJECT makes an object library instead: a program
# that links it gets all of its objects, also those that no other code calls. TRANSLATED: the
# texts marked in its sources belong to the program's translation catalogue.
function(trz4_library name)
    cmake_parse_arguments(ARG "GUI;TEST_SUPPORT;DEVELOPER;LINUX;OBJECT;TRANSLATED" ""
                          "SOURCES;DEPENDS" ${ARGN})
    if(ARG_TRANSLATED)
        trz4_translatable(${ARG_SOURCES})
    endif()
    trz4_wanted(wanted "${ARG_GUI}" "${ARG_TEST_SUPPORT}" "${ARG_DEVELOPER}" "${ARG_LINUX}")
    if(NOT wanted)
        return()
    endif()
    if(ARG_OBJECT)
        add_library(${name} OBJECT ${ARG_SOURCES})
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
    endif()
    add_library(trz4::${name} ALIAS ${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(ARG_DEPENDS)
        target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    endif()
    trz4_warnings(${name})
    if(ARG_GUI)
        trz4_qt(${name})
    endif()
endfunction()

# trz4_program(name [GUI] [DEVELOPER] [LINUX] SOURCES ... [DEPENDS ...]): a program. GUI
# programs are Qt programs (qt_add_executable).
function(trz4_program name)
    cmake_parse_arguments(ARG "GUI;DEVELOPER;LINUX" "" "SOURCES;DEPENDS" ${ARGN})
    trz4_wanted(wanted "${ARG_GUI}" FALSE "${ARG_DEVELOPER}" "${ARG_LINUX}")
    if(NOT wanted)
        return()
    endif()
    if(ARG_GUI)
        qt_add_executable(${name} ${ARG_SOURCES})
        trz4_qt(${name})
        # On Windows a window program, not a console one: started from Explorer or a shortcut
        # it opens no console window beside its own.
        set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE ON)
    else()
        add_executable(${name} ${ARG_SOURCES})
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
    trz4_warnings(${name})
endfunction()

# trz4_test(name [GUI] [LINUX] [OWN_MAIN] [TIMEOUT s] SOURCES ... DEPENDS ... [DEFINITIONS ...]
#           [STARTS programs...]): one GoogleTest binary; every case becomes its own CTest entry.
# DEFINITIONS are compile definitions of the test (paths of golden files and the like).
# STARTS names programs that the test runs as child processes: they are built first and their
# paths are handed in as <PROGRAM>_PATH (upper case, "-" as "_"). GUI tests run with the
# offscreen Qt platform on Linux, so that no display is needed; on Windows with the platform
# their main function chooses (ui/CMakeLists.txt, ui_test_main).
function(trz4_test name)
    cmake_parse_arguments(ARG "GUI;LINUX;OWN_MAIN" "TIMEOUT" "SOURCES;DEPENDS;DEFINITIONS;STARTS"
                          ${ARGN})
    trz4_wanted(wanted "${ARG_GUI}" TRUE FALSE "${ARG_LINUX}")
    if(NOT wanted)
        return()
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest)
    if(NOT ARG_OWN_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    if(ARG_DEFINITIONS)
        target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    endif()
    foreach(program IN LISTS ARG_STARTS)
        string(TOUPPER "${program}_PATH" variable)
        string(REPLACE "-" "_" variable "${variable}")
        target_compile_definitions(${name} PRIVATE ${variable}="$<TARGET_FILE:${program}>")
        add_dependencies(${name} ${program})
    endforeach()
    trz4_warnings(${name})
    set(environment "")
    if(ARG_GUI)
        trz4_qt(${name})
        if(NOT WIN32)
            set(environment ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        endif()
    endif()
    # A cross-built test lists its cases through Wine; that happens when CTest runs, not at
    # every build (scripts/test runs the Windows test programs directly, see there).
    set(discovery "")
    if(CMAKE_CROSSCOMPILING)
        set(discovery DISCOVERY_MODE PRE_TEST)
    endif()
    gtest_discover_tests(${name}
        PROPERTIES ${environment} TIMEOUT ${ARG_TIMEOUT}
        DISCOVERY_TIMEOUT 60 ${discovery})
endfunction()
