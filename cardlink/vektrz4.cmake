# The card's command protocol.
list(APPEND cardlink_sources
    ${CMAKE_CURRENT_LIST_DIR}/vektrz4.h
    ${CMAKE_CURRENT_LIST_DIR}/vektrz4.cpp)
list(APPEND cardlink_libs trz4::platform trz4::toolbox)
