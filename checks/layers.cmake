# The layers hold in the build: `cmake -P` with
#   SOURCE_DIR  the source tree
#   COMMANDS    the build's compile_commands.json
#   SCRATCH     a folder of the check's own
#   CASES       "source|header;...": sources of the tree, each with the header of a higher
#               layer that it must not see
# For every case the source is copied into the scratch folder twice, once as it is and once
# with `#include "<header>"` planted on its first line, and each copy is compiled with the
# build's own command for that source. The copy as it is must compile, the planted one must
# fail on the planted header; the sources of the tree are never touched. Then the configure step
# must refuse a link to a higher layer, and no source of the tree may include with "../", which
# would step around the include roots.
cmake_minimum_required(VERSION 3.25)

file(READ "${COMMANDS}" commands)
set(failures 0)

# The compile command and its directory for `source`, from the build's list of commands.
function(compile_command source command_var directory_var)
    string(FIND "${commands}" "\"file\": \"${source}\"" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${source} is compiled by no command of the build")
    endif()
    string(SUBSTRING "${commands}" 0 ${at} before)
    string(FIND "${before}" "{" start REVERSE)
    string(SUBSTRING "${commands}" ${start} -1 rest)
    string(FIND "${rest}" "}" length)
    math(EXPR length "${length} + 1")
    string(SUBSTRING "${rest}" 0 ${length} entry)
    string(JSON command GET "${entry}" command)
    string(JSON directory GET "${entry}" directory)
    set(${command_var} "${command}" PARENT_SCOPE)
    set(${directory_var} "${directory}" PARENT_SCOPE)
endfunction()

# Compiles `copy` in place of `source` with the build's command; the result code and the
# compiler's messages.
function(compile_copy source copy result_var output_var)
    compile_command("${source}" command directory)
    separate_arguments(arguments UNIX_COMMAND "${command}")
    set(compile "")
    set(next_is_output FALSE)
    foreach(argument IN LISTS arguments)
        if(next_is_output)
            set(argument "${copy}.o")
            set(next_is_output FALSE)
        elseif(argument STREQUAL "-o")
            set(next_is_output TRUE)
        elseif(argument STREQUAL source)
            set(argument "${copy}")
        endif()
        list(APPEND compile "${argument}")
    endforeach()
    execute_process(COMMAND ${compile} WORKING_DIRECTORY "${directory}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    set(${result_var} ${result} PARENT_SCOPE)
    set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${SCRATCH}")
set(index 0)
foreach(case IN LISTS CASES)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 relative)
    list(GET parts 1 header)
    set(source "${SOURCE_DIR}/${relative}")
    get_filename_component(name "${relative}" NAME)
    file(READ "${source}" text)
    set(clean "${SCRATCH}/${index}/clean/${name}")
    set(planted "${SCRATCH}/${index}/planted/${name}")
    file(WRITE "${clean}" "${text}")
    file(WRITE "${planted}" "#include \"${header}\"\n${text}")
    math(EXPR index "${index} + 1")

    compile_copy("${source}" "${clean}" result output)
    if(NOT result EQUAL 0)
        message(SEND_ERROR "${relative} as it is does not compile outside the tree:\n${output}")
        math(EXPR failures "${failures} + 1")
        continue()
    endif()
    compile_copy("${source}" "${planted}" result output)
    if(result EQUAL 0)
        message(SEND_ERROR "${relative} compiles with #include \"${header}\", a higher layer")
        math(EXPR failures "${failures} + 1")
    elseif(NOT output MATCHES "${header}")
        message(SEND_ERROR "${relative} with #include \"${header}\" fails for another reason:\n"
                           "${output}")
        math(EXPR failures "${failures} + 1")
    else()
        message(STATUS "refused: ${header} in ${relative}")
    endif()
endforeach()

# The configure step refuses a link from a layer to one above it, which would hand the lower
# layer the higher one's include root: a scratch project of two layers over this build's
# helpers, configured once with the lower library linking the higher one (refused) and once
# without (accepted).
set(project "${SCRATCH}/links")
file(WRITE "${project}/CMakeLists.txt" [=[
cmake_minimum_required(VERSION 3.25)
project(layers LANGUAGES CXX)
include(${HELPERS})
trz4_layer(low)
trz4_layer(high USES low)
trz4_library(low SOURCES low/low.cpp ${UPWARD})
trz4_library(high SOURCES high/high.cpp DEPENDS trz4::low)
trz4_check_layers()
]=])
file(WRITE "${project}/low/low.cpp" "int low() { return 1; }\n")
file(WRITE "${project}/high/high.cpp" "int high() { return 2; }\n")
foreach(upward IN ITEMS "" "DEPENDS;trz4::high")
    file(REMOVE_RECURSE "${project}/build")
    execute_process(COMMAND "${CMAKE_COMMAND}" -S "${project}" -B "${project}/build"
                            "-DHELPERS=${SOURCE_DIR}/cmake/Trz4.cmake" "-DUPWARD=${upward}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(upward AND (result EQUAL 0 OR NOT output MATCHES "low \\(layer low\\) links high"))
        message(SEND_ERROR "a link from a lower layer to a higher one is not refused:\n${output}")
        math(EXPR failures "${failures} + 1")
    elseif(NOT upward AND NOT result EQUAL 0)
        message(SEND_ERROR "two layers linked downwards are refused:\n${output}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
# Its build holds the compiler's probe programs, which are none of this build's programs.
file(REMOVE_RECURSE "${project}/build")

# Includes that climb out of a folder ("../"), in every source of the tree.
file(GLOB top LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(climbing "")
foreach(folder IN LISTS top)
    if(NOT IS_DIRECTORY "${SOURCE_DIR}/${folder}" OR folder MATCHES "^(build|\\.)")
        continue()
    endif()
    file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
    foreach(file IN LISTS files)
        file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
        if(lines)
            file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
            list(APPEND climbing "${shown}: ${lines}")
        endif()
    endforeach()
endforeach()
foreach(found IN LISTS climbing)
    message(SEND_ERROR "an include that climbs out of its folder: ${found}")
    math(EXPR failures "${failures} + 1")
endforeach()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} layer check(s) failed")
endif()
