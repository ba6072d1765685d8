# Serial ports: the RS-232 operations over termios, COM numbering, and the scripted test
# double (part of the library so that tests of every folder above can use it).
list(APPEND platform_sources
    ${CMAKE_CURRENT_LIST_DIR}/rs232.h
    ${CMAKE_CURRENT_LIST_DIR}/rs232.cpp
    ${CMAKE_CURRENT_LIST_DIR}/comports.h
    ${CMAKE_CURRENT_LIST_DIR}/comports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/serial_double.h
    ${CMAKE_CURRENT_LIST_DIR}/serial_double.cpp)
