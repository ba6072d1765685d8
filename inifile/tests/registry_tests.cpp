// The document read from and written to the registry.

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"
#include "platform/registry.h"
#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ini_test;

namespace {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

class IniRegistry : public ::testing::Test {
protected:
    void SetUp() override { regResetForTesting(); }
    void TearDown() override {
        regResetForTesting();
        tbFailAllocationsAfter(-1);
    }
};

} // namespace

TEST_F(IniRegistry, MissingKeyOrRootGivesNotFound) {
    Doc doc(Ini_New(1));
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 1, "Software\\Vek"), kIniNotFound);
    EXPECT_EQ(Ini_WriteToRegistry(doc.get(), 1, "Software\\Vek"), kIniNotFound);
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 4, ""), kIniNotFound);
    EXPECT_EQ(Ini_WriteToRegistry(doc.get(), -1, ""), kIniNotFound);
    EXPECT_EQ(Ini_ReadFromRegistry(nullptr, 1, "x"), kIniNullArgument);
}

TEST_F(IniRegistry, SubkeysBecomeSectionsOfTheirStringValues) {
    const char *base = "Software\\Vek\\trz4";
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Vek\\trz4\\com"), kRegOk);
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Vek\\trz4\\binary only"), kRegOk);
    RegWriteString(HKEY_CURRENT_USER, "Software\\Vek\\trz4\\com", "lcom", "3");
    RegWriteULong(HKEY_CURRENT_USER, "Software\\Vek\\trz4\\com", "dword", 5);
    RegWriteString(HKEY_CURRENT_USER, "Software\\Vek\\trz4\\com", "adresse", "1");
    RegWriteValue(HKEY_CURRENT_USER, "Software\\Vek\\trz4\\com", "unterminated", REG_SZ, "ab", 2);
    RegWriteValue(HKEY_CURRENT_USER, "Software\\Vek\\trz4\\binary only", "b", REG_BINARY, "x", 1);
    RegWriteString(HKEY_CURRENT_USER, base, "ignored", "values of the base key itself");
    Doc doc(Ini_New(0));
    ASSERT_EQ(Ini_ReadFromRegistry(doc.get(), 1, base), 0);
    // A subkey without string values is an empty section.
    const DocumentSnapshot expected = {
        {"binary only", {}},
        {"com", {{"lcom", "3", 0, 1}, {"adresse", "1", 0, 1}, {"unterminated", "ab", 0, 1}}}};
    EXPECT_EQ(snapshot(doc.get()), expected) << describe(snapshot(doc.get()));
    // The HKEY_LOCAL_MACHINE tree is another one.
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 2, base), kIniNotFound);
}

TEST_F(IniRegistry, WriteReplacesSubkeysAndReadsBack) {
    const char *base = "Software\\Vek";
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Vek\\stale"), kRegOk);
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "com", "com", 3);
    Ini_PutString(doc.get(), "com", "text", "a\"b");
    Ini_PutRawString(doc.get(), "other", "long", std::string(300, 'l').c_str());
    ASSERT_EQ(Ini_WriteToRegistry(doc.get(), 1, base), 0);
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, "Software\\Vek\\stale"), 0);
    unsigned type = 0;
    char data[8];
    unsigned size = sizeof data;
    ASSERT_EQ(RegReadValue(HKEY_CURRENT_USER, "Software\\Vek\\com", "com", &type, data, &size),
              kRegOk);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 2u);
    Doc back(Ini_New(0));
    ASSERT_EQ(Ini_ReadFromRegistry(back.get(), 1, base), 0);
    int value = 0;
    EXPECT_EQ(Ini_GetInt(back.get(), "com", "com", &value), 1);
    EXPECT_EQ(value, 3);
    char *text = nullptr;
    EXPECT_EQ(Ini_GetPointerToString(back.get(), "com", "text", &text), 1);
    EXPECT_STREQ(text, "a\"b");
    EXPECT_EQ(Ini_GetPointerToRawString(back.get(), "other", "long", &text), 1);
    EXPECT_EQ(std::string(text), std::string(300, 'l'));
}

TEST_F(IniRegistry, AccessDeniedIsReported) {
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "locked\\s"), kRegOk);
    regDenyAccessForTesting(HKEY_LOCAL_MACHINE, "locked", true);
    Doc doc(Ini_New(0));
    Ini_PutInt(doc.get(), "s", "x", 1);
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 2, "locked"), kIniAccessDenied);
    EXPECT_EQ(Ini_WriteToRegistry(doc.get(), 2, "locked"), kIniAccessDenied);
    regDenyAccessForTesting(HKEY_LOCAL_MACHINE, "locked", false);
    regDenyAccessForTesting(HKEY_LOCAL_MACHINE, "open\\s", true);
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "open"), kRegOk);
    EXPECT_EQ(Ini_ReadFromRegistry(doc.get(), 2, "open"), kIniErrorReadingFile);
    EXPECT_EQ(Ini_WriteToRegistry(doc.get(), 2, "open"), kIniAccessDenied);
    // A dynamic key refuses writes.
    registerDynamicKey(HKEY_LOCAL_MACHINE, "dyn\\s", [] { return RegStringValues{}; });
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "dyn"), kRegOk);
    EXPECT_EQ(Ini_WriteToRegistry(doc.get(), 2, "dyn"), 0); // the old subkey goes first
}

TEST_F(IniRegistry, AllocationFailureWhileReading) {
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "k\\a"), kRegOk);
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "k\\b"), kRegOk);
    RegWriteString(HKEY_CURRENT_USER, "k\\a", "x", "1");
    RegWriteString(HKEY_CURRENT_USER, "k\\b", "y", "2");
    int failures = 0;
    for (long allowed = 0;; ++allowed) {
        Doc doc(Ini_New(1));
        tbFailAllocationsAfter(allowed);
        const int result = Ini_ReadFromRegistry(doc.get(), 1, "k");
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
