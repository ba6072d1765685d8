# Files and registry: path examination, safe replacement of a file, and the in-memory registry.
list(APPEND platform_sources
    ${CMAKE_CURRENT_LIST_DIR}/files.h
    ${CMAKE_CURRENT_LIST_DIR}/files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry.h
    ${CMAKE_CURRENT_LIST_DIR}/registry.cpp)
