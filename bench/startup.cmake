# startup_bench: time from process start to the main panel on screen, and resident memory
# when idle, of trz4Steuerung against a minimal Qt Widgets program (startup_baseline).
qt_add_executable(startup_baseline ${CMAKE_CURRENT_LIST_DIR}/startup_baseline.cpp)
target_link_libraries(startup_baseline PRIVATE Qt6::Widgets)
trz4_warnings(startup_baseline)

add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_compile_definitions(startup_bench PRIVATE
    TRZ4_PROGRAM="$<TARGET_FILE:trz4Steuerung>"
    TRZ4_BASELINE="$<TARGET_FILE:startup_baseline>")
add_dependencies(startup_bench trz4Steuerung startup_baseline)
trz4_warnings(startup_bench)
