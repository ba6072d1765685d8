// Scratch directories: a random name created exclusively, tried until one is free.
#include "platform/tests/scratch_dir.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

std::string makeScratchDirectory(const std::string &prefix) {
    static std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 8; ++i)
            name += static_cast<char>('a' + random() % 26);
        std::error_code error;
        // create_directory is false for a name that exists: someone else's, never reused.
        if (std::filesystem::create_directory(base / name, error))
            return (base / name).string();
    }
    throw std::runtime_error("no scratch directory under " + base.string());
}

ScratchDir::ScratchDir(const std::string &prefix) : path_(makeScratchDirectory(prefix)) {}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string readFileBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
