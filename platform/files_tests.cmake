# Tests of the file operations and the registry.
trz4_test(platform_files_tests
    SOURCES tests/files_tests.cpp
    DEPENDS trz4::platform)
trz4_test(platform_registry_tests
    SOURCES tests/registry_tests.cpp
    DEPENDS trz4::platform)
