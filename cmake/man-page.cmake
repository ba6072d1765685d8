# Writes the man pages of one program from its own --help and --version, so that they never
# hold a second copy of its options:
#   cmake -DPROGRAM=<executable> -DNAME=<program name> -DOUT=<directory> -DLOCPATH=<directory>
#         -DHELP2MAN=<help2man> -DINCLUDES=<directory> -P man-page.cmake
# OUT/man1/NAME.1.gz is the page in the language a program speaks without a language setting
# (LC_ALL=C.UTF-8): English when its help there opens its usage with "Usage:". When it also
# speaks German (its help under LC_ALL=de_DE.UTF-8 opens the usage with "Aufruf:"), that page
# goes to OUT/de/man1/NAME.1.gz; a program that speaks only German gets its German page in
# OUT/man1. LOCPATH holds the locale de_DE.UTF-8 (made with localedef), so that help2man and
# the program find it without a system-wide locale; help2man then writes German headings.
#
# The help must open with the line "NAME - summary" and a blank line: the summary becomes the
# page's NAME line and is left out of its description. Its paragraph "Exit status:" (German
# "Rückgabewert:") becomes a section of its own. What a help does not say (the environment,
# the files, where to read on) comes from the help2man include file INCLUDES/NAME.en.h2m for
# the English page and INCLUDES/NAME.de.h2m for the German one; each language a page comes in
# needs its file. Everything in OUT is written anew.
foreach(variable PROGRAM NAME OUT LOCPATH HELP2MAN INCLUDES)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "man-page.cmake: ${variable} is not given")
    endif()
endforeach()

set(english_env --unset=LANGUAGE --unset=LANG --unset=LC_MESSAGES LC_ALL=C.UTF-8)
set(german_env --unset=LANGUAGE --unset=LANG --unset=LC_MESSAGES LC_ALL=de_DE.UTF-8
               LOCPATH=${LOCPATH})

# The program's help in one language setting; *summary gets the summary of its first line.
function(help_in out_help out_summary)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${ARGN} ${PROGRAM} --help
                    OUTPUT_VARIABLE help RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${NAME} --help failed (${result})")
    endif()
    string(REGEX MATCH "^${NAME} - ([^\n]+)\n\n" opening "${help}")
    if(NOT opening)
        message(FATAL_ERROR "${NAME} --help does not open with \"${NAME} - summary\" and a "
                            "blank line")
    endif()
    set(${out_help} "${help}" PARENT_SCOPE)
    set(${out_summary} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# How help2man asks for the help: the pipe drops the name line and the blank line after it,
# which the NAME section carries, marks the lines of an examples section with a "$ " prompt,
# which help2man keeps apart in a fixed-width font instead of filling them into one
# paragraph, and turns the exit status paragraph into a section ("*NAME*" to help2man).
set(help_option [=[--help | tail -n +3 | sed -e '/^\(Beispiele\|Examples\):$/,/^$/s/^  /  $ /' -e 's/^Exit status:$/*EXIT STATUS*/' -e 's/^Rückgabewert:$/*RÜCKGABEWERT*/']=])

# One page: help2man runs the program itself, in the locale given, and reads --version too.
function(write_page page summary locale language)
    get_filename_component(directory ${page} DIRECTORY)
    file(MAKE_DIRECTORY ${directory})
    set(include ${INCLUDES}/${NAME}.${language}.h2m)
    if(NOT EXISTS ${include})
        message(FATAL_ERROR "${include} is missing: the ${language} page of ${NAME} needs it")
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env LOCPATH=${LOCPATH}
                ${HELP2MAN} --no-info --section=1 --locale=${locale} --name=${summary}
                "--help-option=${help_option}" --include=${include} --output=${page}
                ${PROGRAM}
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0 OR NOT EXISTS ${page})
        message(FATAL_ERROR "help2man failed for ${NAME} (${result})")
    endif()
    # Debian's policy: pages compressed with gzip -9, without a name or time stamp inside.
    execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip failed for ${page}")
    endif()
endfunction()

file(REMOVE_RECURSE ${OUT})
help_in(english english_summary ${english_env})
help_in(german german_summary ${german_env})
string(REGEX MATCH "\nUsage: " english_usage "${english}")
string(REGEX MATCH "\nAufruf: " german_usage "${german}")
if(english_usage)
    write_page(${OUT}/man1/${NAME}.1 "${english_summary}" C.UTF-8 en)
    if(german_usage)
        write_page(${OUT}/de/man1/${NAME}.1 "${german_summary}" de_DE.UTF-8 de)
    endif()
elseif(german_usage)
    write_page(${OUT}/man1/${NAME}.1 "${german_summary}" de_DE.UTF-8 de)
else()
    message(FATAL_ERROR "${NAME} --help names its usage neither with \"Usage:\" nor with "
                        "\"Aufruf:\"")
endif()
