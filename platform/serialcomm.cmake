# The registry's serial-port key made up from the COM ports present.
list(APPEND platform_sources
    ${CMAKE_CURRENT_LIST_DIR}/serialcomm_key.h
    ${CMAKE_CURRENT_LIST_DIR}/serialcomm_key.cpp)
