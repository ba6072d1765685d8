// Finds German in text that should be English: the words of the tool's and the catalogue's
// German texts that their English texts do not use, and the umlauts and sharp s.
#pragma once

#include <string>
#include <vector>

// The German words and characters found in text, each once, in order of appearance; empty when
// the text is free of German.
std::vector<std::string> germanIn(const std::string &text);
