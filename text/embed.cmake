# Writes a C++ source that holds a translation file as it is: the string_view SYMBOL over the
# bytes of INPUT, in OUTPUT. Run at build time by the build machine's CMake, so that a
# cross-build needs no program of the target. cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -P
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" length)
math(EXPR bytes "${length} / 2")
# Every byte as a character escape, so that every byte survives; a line of the file is a line
# of the literal.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" content "${content}")
string(REPLACE "\\x0a" "\\x0a\"\n    \"" content "${content}")
file(WRITE "${OUTPUT}.tmp"
     "// Generated from ${INPUT} by text/embed.cmake; do not edit.\n"
     "#include <string_view>\n"
     "extern const std::string_view ${SYMBOL};\n"
     "const std::string_view ${SYMBOL}(\n    \"${content}\",\n    ${bytes});\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
