# ini_bench: the ini library against inih, SimpleIni, Boost.PropertyTree and QSettings
# (read + lookups, durable write) on generated files.
find_package(PkgConfig REQUIRED)
pkg_check_modules(INIH REQUIRED IMPORTED_TARGET inih)
find_package(Boost REQUIRED)
add_executable(ini_bench ${CMAKE_CURRENT_LIST_DIR}/ini_bench.cpp)
target_link_libraries(ini_bench PRIVATE trz4::inifile PkgConfig::INIH Boost::headers Qt6::Core)
trz4_warnings(ini_bench)
