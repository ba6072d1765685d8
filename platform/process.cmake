# The process and its user: termination requests turned into events, the per-user directories.
list(APPEND platform_sources
    ${CMAKE_CURRENT_LIST_DIR}/termination.h
    ${CMAKE_CURRENT_LIST_DIR}/termination_posix.cpp
    ${CMAKE_CURRENT_LIST_DIR}/userdirs.h
    ${CMAKE_CURRENT_LIST_DIR}/userdirs_posix.cpp)
