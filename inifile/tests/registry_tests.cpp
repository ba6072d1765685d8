// The document read from and written to the registry: the in-memory one on Linux, the system's
// on Windows, below a test key of HKEY_CURRENT_USER that each test removes again.

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"
#include "platform/registry.h"
#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace ini_test;

namespace {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

constexpr const char *kTestParent = "Software\\trz4-Steuerung-Tests";

class IniRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        base = std::string(kTestParent) + "\\ini-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteKey(HKEY_CURRENT_USER, base.c_str());
    }
    void TearDown() override {
        tbFailAllocationsAfter(-1);
        RegDeleteKey(HKEY_CURRENT_USER, base.c_str());
        EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, base.c_str()), 0);
        // The common parent goes with the last test key below it.
        unsigned subKeys = 1;
        if (RegQueryInfoOnKey(HKEY_CURRENT_USER, kTestParent, &subKeys, nullptr, nullptr, nullptr,
                              nullptr) == kRegOk &&
            subKeys == 0) {
            RegDeleteKey(HKEY_CURRENT_USER, kTestParent);
        }
    }
    // A key below the test's base key.
    std::string key(const std::string &below = "") const {
        return below.empty() ? base : base + "\\" + below;
    }
    std::string base;
};

} // namespace

TEST_F(IniRegistry, MissingKeyOrRootGivesNotFound) {
    Doc doc(Ini_New(1));
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 1, key().c_str()), kIniNotFound);
    EXPECT_EQ(Ini_WriteToRegistry(doc.get(), 1, key().c_str()), kIniNotFound);
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 4, ""), kIniNotFound);
    EXPECT_EQ(Ini_WriteToRegistry(doc.get(), -1, ""), kIniNotFound);
    EXPECT_EQ(Ini_ReadFromRegistry(nullptr, 1, "x"), kIniNullArgument);
}

TEST_F(IniRegistry, SubkeysBecomeSectionsOfTheirStringValues) {
    const std::string com = key("com");
    const std::string binary = key("binary only");
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, com.c_str()), kRegOk);
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, binary.c_str()), kRegOk);
    RegWriteString(HKEY_CURRENT_USER, com.c_str(), "lcom", "3");
    RegWriteULong(HKEY_CURRENT_USER, com.c_str(), "dword", 5);
    RegWriteString(HKEY_CURRENT_USER, com.c_str(), "adresse", "1");
    RegWriteValue(HKEY_CURRENT_USER, com.c_str(), "unterminated", REG_SZ, "ab", 2);
    RegWriteValue(HKEY_CURRENT_USER, binary.c_str(), "b", REG_BINARY, "x", 1);
    RegWriteString(HKEY_CURRENT_USER, key().c_str(), "ignored", "values of the base key itself");
    Doc doc(Ini_New(0));
    ASSERT_EQ(Ini_ReadFromRegistry(doc.get(), 1, key().c_str()), 0);
    // A subkey without string values is an empty section. Items come in the registry's order of
    // the values, which is the order of writing in memory and not promised by Windows (Wine
    // sorts by name): compared by name.
    const DocumentSnapshot expected = {
        {"binary only", {}},
        {"com", {{"adresse", "1", 0, 1}, {"lcom", "3", 0, 1}, {"unterminated", "ab", 0, 1}}}};
    DocumentSnapshot read = snapshot(doc.get());
    for (SectionSnapshot &section : read) {
        std::sort(section.items.begin(), section.items.end(),
                  [](const ItemSnapshot &a, const ItemSnapshot &b) { return a.name < b.name; });
    }
    EXPECT_EQ(read, expected) << describe(read);
    // The HKEY_LOCAL_MACHINE tree is another one.
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 2, key().c_str()), kIniNotFound);
}

TEST_F(IniRegistry, WriteReplacesSubkeysAndReadsBack) {
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, key("stale").c_str()), kRegOk);
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "com", "com", 3);
    Ini_PutString(doc.get(), "com", "text", "a\"b");
    Ini_PutRawString(doc.get(), "other", "long", std::string(300, 'l').c_str());
    ASSERT_EQ(Ini_WriteToRegistry(doc.get(), 1, key().c_str()), 0);
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, key("stale").c_str()), 0);
    unsigned type = 0;
    char data[8];
    unsigned size = sizeof data;
    ASSERT_EQ(RegReadValue(HKEY_CURRENT_USER, key("com").c_str(), "com", &type, data, &size),
              kRegOk);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 2u);
    Doc back(Ini_New(0));
    ASSERT_EQ(Ini_ReadFromRegistry(back.get(), 1, key().c_str()), 0);
    int value = 0;
    EXPECT_EQ(Ini_GetInt(back.get(), "com", "com", &value), 1);
    EXPECT_EQ(value, 3);
    char *text = nullptr;
    EXPECT_EQ(Ini_GetPointerToString(back.get(), "com", "text", &text), 1);
    EXPECT_STREQ(text, "a\"b");
    EXPECT_EQ(Ini_GetPointerToRawString(back.get(), "other", "long", &text), 1);
    EXPECT_EQ(std::string(text), std::string(300, 'l'));
}

TEST_F(IniRegistry, AllocationFailureWhileReading) {
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, key("a").c_str()), kRegOk);
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, key("b").c_str()), kRegOk);
    RegWriteString(HKEY_CURRENT_USER, key("a").c_str(), "x", "1");
    RegWriteString(HKEY_CURRENT_USER, key("b").c_str(), "y", "2");
    int failures = 0;
    for (long allowed = 0;; ++allowed) {
        Doc doc(Ini_New(1));
        tbFailAllocationsAfter(allowed);
        const int result = Ini_ReadFromRegistry(doc.get(), 1, key().c_str());
        tbFailAllocationsAfter(-1);
        if (result == 0) {
            EXPECT_EQ(Ini_NumberOfSections(doc.get()), 2);
            break;
        }
        EXPECT_EQ(result, kIniOutOfMemory);
        ++failures;
    }
    EXPECT_GT(failures, 4);
}
