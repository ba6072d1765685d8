// Scratch directories and whole files for tests, the same way on every system.
#pragma once

#include <filesystem>
#include <string>

// Creates a new, empty directory under the system's temporary directory, named
// <prefix><random letters>, and returns its path (with '/' or the system's separator as the
// system gives it). Throws std::runtime_error when no directory can be made.
std::string makeScratchDirectory(const std::string &prefix);

// A fresh directory made by makeScratchDirectory, removed with everything in it when the
// object goes (also when a test made the directory itself unwritable).
class ScratchDir {
public:
    explicit ScratchDir(const std::string &prefix = "trz4-");
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const std::string &path() const { return path_; }
    // The path of `name` (which may have '/' in it) inside the directory.
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The bytes of a file as they are stored (no line-end translation); empty when it cannot be
// read.
std::string readFileBytes(const std::filesystem::path &path);
