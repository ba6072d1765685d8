# Shared helpers for the project's targets.

# Warnings as errors for our own code only; Qt and GoogleTest headers come in as system headers.
function(trz4_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# trz4_library(name SOURCES ...): a static library named after its folder, with the alias
# trz4::name, whose headers are included as "folder/header.h" from the source root.
function(trz4_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    add_library(trz4::${name} ALIAS ${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(ARG_DEPENDS)
        target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    endif()
    trz4_warnings(${name})
endfunction()

# trz4_test(name [OWN_MAIN] [TIMEOUT s] SOURCES ... DEPENDS ...): one GoogleTest binary; every case becomes its own
# CTest entry. Tests run with the offscreen Qt platform so that no display is needed.
function(trz4_test name)
    if(NOT TRZ4_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "OWN_MAIN" "TIMEOUT" "SOURCES;DEPENDS" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock)
    if(NOT ARG_OWN_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    trz4_warnings(${name})
    gtest_discover_tests(${name}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${ARG_TIMEOUT}
        DISCOVERY_TIMEOUT 60)
endfunction()
