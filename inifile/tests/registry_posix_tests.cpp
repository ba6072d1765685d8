// The registry form of a document where the in-memory registry of Linux can be told to refuse:
// keys closed to every access, and a dynamic key that refuses writes.

#include "inifile/inifile.h"
#include "platform/registry.h"
#include "platform/testing/registry_testing.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct DocDeleter {
    void operator()(IniDocument *doc) const { Ini_Dispose(doc); }
};
using Doc = std::unique_ptr<IniDocument, DocDeleter>;

class IniRegistryRefusals : public ::testing::Test {
protected:
    void SetUp() override { regResetForTesting(); }
    void TearDown() override { regResetForTesting(); }
};

} // namespace

TEST_F(IniRegistryRefusals, AccessDeniedIsReported) {
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
