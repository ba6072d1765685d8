trz4_test(cardlink_vektrz4_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/tests/vektrz4_protocol_tests.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tests/vektrz4_model_tests.cpp
    DEPENDS trz4::cardlink)
if(TARGET cardlink_vektrz4_tests)
    target_compile_definitions(cardlink_vektrz4_tests
        PRIVATE TRZ4_CARDLINK_TESTS="${CMAKE_CURRENT_LIST_DIR}/tests")
endif()

# End to end through a pseudo-terminal against the card simulator.
trz4_test(cardlink_vektrz4_e2e_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/vektrz4_e2e_tests.cpp
    DEPENDS trz4::cardlink trz4::trz4sim_engine)

# The serial layer's 7O1 framing and the protocol on a real adapter; every case is skipped
# unless TRZ4_TEST_SERIAL_DEVICE names a device.
trz4_test(cardlink_real_adapter_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/real_adapter_tests.cpp
    DEPENDS trz4::cardlink)
