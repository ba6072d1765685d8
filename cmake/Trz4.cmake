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
# Layers: every folder is one layer (trz4_layer in the root CMakeLists.txt, from the bottom), and
# a target belongs to the folder its first source sits in. A target sees the headers of its own
# folder and of the folders it links, and it may link only targets of the folders its layer
# USES; trz4_check_layers refuses any other link at configure time, so that an include of a
# higher layer's header fails to compile instead of working by accident. Headers are included
# as "folder/header.h" through one include root per folder in the build tree,
# <build>/include/<folder>/<folder>, a symbolic link to the source folder: the root offers that
# folder and nothing else. Tests may also link the libraries marked OPEN_TO_TESTS (the card
# simulator that plays the card for them, the helper that runs a child process).
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

# The translation files (cmake/Translations.cmake) hold the texts marked in these sources (trText,
# vekText, Qt's tr(), QCoreApplication::translate, QT_TRANSLATE_NOOP, and TRZ4_TRANSLATABLE in code
# without Qt). Libraries marked TRANSLATED add all their sources; trz4_translatable adds others, such
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

set(TRZ4_INCLUDE_ROOTS ${PROJECT_BINARY_DIR}/include)

# The include root of `folder`, into `result`.
function(trz4_include_root result folder)
    string(REPLACE "/" "-" key "${folder}")
    set(${result} ${TRZ4_INCLUDE_ROOTS}/${key} PARENT_SCOPE)
endfunction()

# trz4_layer(folder [USES folder...]): declares the next layer up and the folders below it that
# it may use, and makes its include root.
function(trz4_layer folder)
    cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
    if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${folder})
        message(FATAL_ERROR "trz4: layer ${folder} is no folder of the sources")
    endif()
    get_property(layers GLOBAL PROPERTY TRZ4_LAYERS)
    foreach(used IN LISTS ARG_USES)
        if(NOT used IN_LIST layers)
            message(FATAL_ERROR "trz4: layer ${folder} uses ${used}, not declared below it")
        endif()
    endforeach()
    trz4_include_root(root ${folder})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    set_property(GLOBAL APPEND PROPERTY TRZ4_LAYERS ${folder})
    set_property(GLOBAL PROPERTY TRZ4_LAYER_USES_${folder} ${ARG_USES})
endfunction()

# Puts `target` into the layer of its first source: its own include root (PUBLIC for libraries,
# so that whoever links it sees its headers) and the links that trz4_check_layers examines.
function(trz4_layer_target target visibility sources depends)
    list(GET sources 0 first)
    get_filename_component(path ${first} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${path})
    get_property(layers GLOBAL PROPERTY TRZ4_LAYERS)
    set(folder "")
    foreach(layer IN LISTS layers)
        if(relative MATCHES "^${layer}/")
            set(folder ${layer})
        endif()
    endforeach()
    if(NOT folder)
        message(FATAL_ERROR "trz4: ${target}'s source ${relative} lies in no layer's folder")
    endif()
    trz4_include_root(root ${folder})
    target_include_directories(${target} ${visibility} ${root})
    set_property(TARGET ${target} PROPERTY TRZ4_LAYER ${folder})
    set_property(TARGET ${target} PROPERTY TRZ4_LAYER_DEPENDS ${depends})
    set_property(GLOBAL APPEND PROPERTY TRZ4_LAYER_TARGETS ${target})
endfunction()

# trz4_see_headers(target folder...): lets `target` include the headers of these folders
# without linking their libraries (a check that reads constants of every module). Only folders
# its layer uses.
function(trz4_see_headers target)
    get_target_property(folder ${target} TRZ4_LAYER)
    get_property(uses GLOBAL PROPERTY TRZ4_LAYER_USES_${folder})
    foreach(seen IN LISTS ARGN)
        if(NOT seen IN_LIST uses)
            message(FATAL_ERROR "trz4: ${target} (${folder}) may not see the headers of ${seen}")
        endif()
        trz4_include_root(root ${seen})
        target_include_directories(${target} PRIVATE ${root})
    endforeach()
endfunction()

# Refuses every link of a trz4 target to a target of a layer that its own does not use. Called
# once all folders are read, since a target may link one declared after it.
function(trz4_check_layers)
    get_property(targets GLOBAL PROPERTY TRZ4_LAYER_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(folder ${target} TRZ4_LAYER)
        get_target_property(depends ${target} TRZ4_LAYER_DEPENDS)
        get_target_property(is_test ${target} TRZ4_TEST)
        get_property(uses GLOBAL PROPERTY TRZ4_LAYER_USES_${folder})
        foreach(dependency IN LISTS depends)
            if(NOT dependency MATCHES "^trz4::(.+)$")
                continue()
            endif()
            set(used ${CMAKE_MATCH_1})
            if(NOT TARGET ${used})
                continue()
            endif()
            get_target_property(used_folder ${used} TRZ4_LAYER)
            get_target_property(open_to_tests ${used} TRZ4_OPEN_TO_TESTS)
            if(NOT used_folder OR used_folder STREQUAL folder OR used_folder IN_LIST uses
               OR (is_test AND open_to_tests))
                continue()
            endif()
            message(SEND_ERROR "trz4: ${target} (layer ${folder}) links ${used} of the layer "
                                "${used_folder}, which ${folder} does not use (trz4_layer)")
        endforeach()
    endforeach()
endfunction()

# trz4_library(name [GUI] [TEST_SUPPORT] [DEVELOPER] [LINUX] [OBJECT] [TRANSLATED]
# [OPEN_TO_TESTS] SOURCES ... [DEPENDS ...]): a static library with the alias trz4::name, whose
# headers are included as "folder/header.h". OBJECT makes an object library instead: a program
# that links it gets all of its objects, also those that no other code calls. TRANSLATED: the
# texts marked in its sources belong to the translation files. OPEN_TO_TESTS:
# the tests of every layer may link it.
function(trz4_library name)
    cmake_parse_arguments(ARG "GUI;TEST_SUPPORT;DEVELOPER;LINUX;OBJECT;TRANSLATED;OPEN_TO_TESTS"
                          "" "SOURCES;DEPENDS" ${ARGN})
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
    trz4_layer_target(${name} PUBLIC "${ARG_SOURCES}" "${ARG_DEPENDS}")
    set_property(TARGET ${name} PROPERTY TRZ4_OPEN_TO_TESTS ${ARG_OPEN_TO_TESTS})
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
    trz4_layer_target(${name} PRIVATE "${ARG_SOURCES}" "${ARG_DEPENDS}")
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
    trz4_layer_target(${name} PRIVATE "${ARG_SOURCES}" "${ARG_DEPENDS}")
    set_property(TARGET ${name} PROPERTY TRZ4_TEST TRUE)
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
