# card_bench: status reads through the serial layer and a pty against the card simulator.
add_executable(card_bench ${CMAKE_CURRENT_LIST_DIR}/card_bench.cpp)
target_link_libraries(card_bench PRIVATE trz4::cardlink trz4::trz4sim_engine)
trz4_warnings(card_bench)
