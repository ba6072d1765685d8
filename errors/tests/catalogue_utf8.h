// Strict UTF-8 check for the catalogue tests.
#pragma once

#include <string_view>

// True when `text` is well-formed UTF-8: no stray continuation bytes, no truncated or overlong
// sequences, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);
