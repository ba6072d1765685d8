# Error codes and the message catalogue: no GUI, no dependency.
list(APPEND errors_sources
    ${CMAKE_CURRENT_LIST_DIR}/VEK_errorV3.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VEK_errorV3_catalogue.cpp)
