# gen_errorlist: makes docs/fehlercodes.md from the message catalogue. The target
# errorlist_doc rewrites the committed file; a test fails when it is out of date.
if(TARGET errors)
    add_library(gen_errorlist_core STATIC
        ${CMAKE_CURRENT_LIST_DIR}/gen_errorlist/errorlist.h
        ${CMAKE_CURRENT_LIST_DIR}/gen_errorlist/errorlist.cpp)
    target_include_directories(gen_errorlist_core PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(gen_errorlist_core PUBLIC trz4::errors)
    trz4_warnings(gen_errorlist_core)

    add_executable(gen_errorlist ${CMAKE_CURRENT_LIST_DIR}/gen_errorlist/main.cpp)
    target_link_libraries(gen_errorlist PRIVATE gen_errorlist_core)
    trz4_warnings(gen_errorlist)

    add_custom_target(errorlist_doc
        COMMAND gen_errorlist ${PROJECT_SOURCE_DIR}/docs/fehlercodes.md
        COMMENT "Writing docs/fehlercodes.md from the message catalogue")

    trz4_test(trz4ctl_errorlist_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/gen_errorlist/errorlist_test.cpp
        DEPENDS gen_errorlist_core)
    if(TARGET trz4ctl_errorlist_test)
        target_compile_definitions(trz4ctl_errorlist_test PRIVATE
            TRZ4_ERRORLIST_DOC="${PROJECT_SOURCE_DIR}/docs/fehlercodes.md")
    endif()
endif()
