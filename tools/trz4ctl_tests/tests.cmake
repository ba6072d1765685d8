# trz4ctl's tests: the parser in-process, and every subcommand end to end as a child process
# against the card simulator engine.
trz4_test(trz4ctl_parse_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/trz4ctl_parse_test.cpp
    DEPENDS trz4ctl_core)

# What the card sends, in-process over the serial test double.
trz4_test(trz4ctl_card_input_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/trz4ctl_card_input_test.cpp
    DEPENDS trz4ctl_core)

trz4_test(trz4ctl_e2e_test TIMEOUT 60
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/trz4ctl_e2e_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/run_child.h
        ${CMAKE_CURRENT_LIST_DIR}/run_child.cpp
    DEPENDS trz4::trz4sim_engine Qt6::Core)
if(TARGET trz4ctl_e2e_test)
    target_compile_definitions(trz4ctl_e2e_test PRIVATE TRZ4CTL_PATH="$<TARGET_FILE:trz4ctl>")
    add_dependencies(trz4ctl_e2e_test trz4ctl)
endif()
