# list_bench: the list container's sort and append against the C and C++ standard libraries.
add_executable(list_bench ${CMAKE_CURRENT_LIST_DIR}/list_bench.cpp)
target_link_libraries(list_bench PRIVATE trz4::toolbox)
trz4_warnings(list_bench)
