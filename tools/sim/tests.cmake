# Tests of the simulator on its own: raw frames over the pty, and the program's life cycle.
trz4_test(sim_engine_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/sim_engine_tests.cpp
    DEPENDS trz4::trz4sim_engine)
if(TARGET sim_engine_tests)
    target_compile_definitions(sim_engine_tests PRIVATE TRZ4SIM_PROGRAM="$<TARGET_FILE:trz4sim>")
    add_dependencies(sim_engine_tests trz4sim)
endif()
