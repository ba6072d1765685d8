# trz4ctl: the card link from the command line, on the program's own libraries. The core is a
# library of its own so that the tests can call the parser beside running the program.
if(TARGET cardlink AND TARGET errors AND TARGET inifile AND TARGET platform)
    add_library(trz4ctl_core STATIC
        ${CMAKE_CURRENT_LIST_DIR}/trz4ctl/trz4ctl.h
        ${CMAKE_CURRENT_LIST_DIR}/trz4ctl/options.cpp
        ${CMAKE_CURRENT_LIST_DIR}/trz4ctl/commands.cpp
        ${CMAKE_CURRENT_LIST_DIR}/trz4ctl/help.cpp
        ${CMAKE_CURRENT_LIST_DIR}/trz4ctl/json.h
        ${CMAKE_CURRENT_LIST_DIR}/trz4ctl/json.cpp)
    target_include_directories(trz4ctl_core PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(trz4ctl_core PUBLIC trz4::cardlink trz4::errors trz4::inifile
                                              trz4::platform)
    trz4_warnings(trz4ctl_core)

    add_executable(trz4ctl ${CMAKE_CURRENT_LIST_DIR}/trz4ctl/main.cpp)
    target_link_libraries(trz4ctl PRIVATE trz4ctl_core)
    trz4_warnings(trz4ctl)

    include(${CMAKE_CURRENT_LIST_DIR}/trz4ctl_tests/tests.cmake)
endif()
