// What the tests of file writing share: documents, the golden files, and a scratch directory
// whose injected faults and hooks are cleared after each test.
#pragma once

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"
#include "platform/files.h"
#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ini_test {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

inline std::string golden(const std::string &name) {
    return fileContents(std::string(TRZ4_INI_GOLDEN_DIR) + "/" + name);
}

inline Doc settingsDocument(int com) {
    Doc doc(Ini_New(1));
    Ini_PutInt(doc.get(), "com", "com", com);
    Ini_PutInt(doc.get(), "com", "lcom", 3);
    Ini_PutInt(doc.get(), "com", "adresse", 1);
    return doc;
}

class FileWriting : public ::testing::Test {
protected:
    void TearDown() override {
        setFileFaultForTesting(FileFault::None, 0);
        setBeforeHoldHookForTesting(nullptr, nullptr);
        tbFailAllocationsAfter(-1);
    }
    TempDir dir;
};

} // namespace ini_test
