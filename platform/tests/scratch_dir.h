// Scratch directories for tests, made the same way on every system.
#pragma once

#include <string>

// Creates a new, empty directory under the system's temporary directory, named
// <prefix><random letters>, and returns its path (with '/' or the system's separator as the
// system gives it). Throws std::runtime_error when no directory can be made.
std::string makeScratchDirectory(const std::string &prefix);
