# The COM-port manager and the scan on the real panels (offscreen) over the serial test double.
trz4_test(cardlink_vekcom_tests OWN_MAIN TIMEOUT 60
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/tests/vekcom_fixture.h
        ${CMAKE_CURRENT_LIST_DIR}/tests/vekcom_manager_tests.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tests/vekcom_scan_tests.cpp
    DEPENDS trz4::cardlink trz4::ui_testing trz4::ui_test_main)
