trz4_test(platform_serial_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/tests/serial_rs232_tests.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tests/comports_tests.cpp
    DEPENDS trz4::platform)
