# The error display: popups and registered display controls, on top of the GUI runtime.
list(APPEND errors_sources ${CMAKE_CURRENT_LIST_DIR}/VEK_Fehleranzeige.cpp)
list(APPEND errors_libs trz4::ui)
