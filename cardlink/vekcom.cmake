# The COM-port and address manager, the device scan and the identification.
list(APPEND cardlink_sources
    ${CMAKE_CURRENT_LIST_DIR}/Vek_Com.h
    ${CMAKE_CURRENT_LIST_DIR}/Vek_Com_internal.h
    ${CMAKE_CURRENT_LIST_DIR}/Vek_Com.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Vek_Com_Scan.cpp)
list(APPEND cardlink_libs trz4::ui trz4::errors)
