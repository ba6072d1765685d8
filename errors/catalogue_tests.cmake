# Tests of the error codes and the message catalogue.
trz4_test(errors_catalogue_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/tests/catalogue_utf8.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tests/catalogue_entries_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tests/catalogue_lookup_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tests/raised_codes_test.cpp
    DEPENDS trz4::errors)
if(TARGET errors_catalogue_test)
    # The texts that operators and documentation quote are compared byte for byte against
    # this committed file.
    target_compile_definitions(errors_catalogue_test PRIVATE
        TRZ4_CATALOGUE_GOLDEN="${CMAKE_CURRENT_LIST_DIR}/tests/catalogue_listed_texts.golden"
        # The raised-codes test reads the sources of every module.
        TRZ4_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
endif()
