trz4_test(platform_process_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/process_tests.cpp
    DEPENDS trz4::platform)
