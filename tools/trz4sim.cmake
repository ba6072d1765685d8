# The card simulator: an engine library that tests run in-process, and the program around it.
trz4_library(trz4sim_engine
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/sim/trz4sim_engine.h
        ${CMAKE_CURRENT_LIST_DIR}/sim/trz4sim_engine.cpp
    DEPENDS trz4::platform)
find_package(Threads REQUIRED)
target_link_libraries(trz4sim_engine PUBLIC Threads::Threads)

add_executable(trz4sim ${CMAKE_CURRENT_LIST_DIR}/trz4sim.cpp)
target_link_libraries(trz4sim PRIVATE trz4::trz4sim_engine)
trz4_warnings(trz4sim)

include(${CMAKE_CURRENT_LIST_DIR}/sim/tests.cmake OPTIONAL)
