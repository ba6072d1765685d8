// The scratch directory of the file-operation tests, and small helpers to fill and read it.
#pragma once

#include "platform/files.h"
#include "platform/testing/files_testing.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class Files : public ::testing::Test {
protected:
    void SetUp() override { dir = makeScratchDirectory("files_"); }
    void TearDown() override {
        setFileFaultForTesting(FileFault::None, 0);
        setBeforeHoldHookForTesting(nullptr, nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string file(const std::string &name) const { return dir + "/" + name; }
    void write(const std::string &name, const std::string &text) const {
        std::ofstream(file(name), std::ios::binary) << text;
    }
    std::string read(const std::string &name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string &name) const {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(file(name), ignored));
    }
    void makeDirectory(const std::string &name) const {
        ASSERT_TRUE(std::filesystem::create_directory(file(name)));
    }
    std::string dir;
};
