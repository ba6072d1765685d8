// The list of error numbers for the user's documentation, made from the message catalogue so
// that it never drifts from the texts the program shows.
#pragma once

#include <string>

// The whole Markdown document (docs/fehlercodes.md): an introduction to error numbers and one
// table row per catalogue entry with its German and English text.
std::string errorListMarkdown();
