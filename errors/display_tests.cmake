# Tests of the error display with the real widgets on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
trz4_test(errors_display_test OWN_MAIN
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/tests/display_test.cpp
    DEPENDS trz4::errors trz4::ui_testing trz4::ui_test_main Qt6::Test)
