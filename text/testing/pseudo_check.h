// For the tests that look for texts that bypass the lookup: with the pseudo-language in effect
// every looked-up text is accented (text/texts.h, pseudoText), so a word that still holds an
// ASCII letter with an accented twin was shown without the lookup.
#pragma once

#include <string>
#include <vector>

// The words of `shown` that were not made pseudo, each once, in order; empty when every word
// was. A word is a run of letters (ASCII, and every character beyond it) of two letters or
// more. Every occurrence of each of `plain` (card data, port names, file names and the like,
// which stay as they are in every language) is taken out of `shown` first, and so is every path:
// a run of characters without blanks that holds a '/' or a '\' ("\Device\Serial0").
std::vector<std::string> wordsBypassingTheLookup(std::string shown,
                                                 const std::vector<std::string> &plain = {});
