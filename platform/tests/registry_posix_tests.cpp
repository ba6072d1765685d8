// The in-memory registry of Linux: keys, values, enumeration, access denial and dynamic keys.

#include "platform/registry.h"
#include "platform/testing/registry_testing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { regResetForTesting(); }
    void TearDown() override { regResetForTesting(); }
};

std::string valueName(int root, const char *key, unsigned index, unsigned *type = nullptr,
                      std::string *data = nullptr) {
    char name[64];
    unsigned nameLength = sizeof name;
    char bytes[64];
    unsigned size = sizeof bytes;
    unsigned t = 0;
    if (RegEnumerateValue(root, key, index, name, &nameLength, bytes, &size, &t) != kRegOk) {
        return "<none>";
    }
    EXPECT_EQ(nameLength, std::strlen(name));
    if (type) {
        *type = t;
    }
    if (data) {
        data->assign(bytes, size);
    }
    return name;
}

// Expects the index-th value of key to have this name, type and data.
void expectValueAt(int root, const char *key, unsigned index, const std::string &name,
                   unsigned type, const std::string &data) {
    SCOPED_TRACE("value " + std::to_string(index) + " of " + key);
    unsigned actualType = 0;
    std::string actualData;
    EXPECT_EQ(valueName(root, key, index, &actualType, &actualData), name);
    EXPECT_EQ(actualType, type);
    EXPECT_EQ(actualData, data);
}

} // namespace

TEST_F(Registry, StartsEmpty) {
    unsigned values = 77;
    EXPECT_EQ(RegQueryInfoOnKey(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", nullptr,
                                &values, nullptr, nullptr, nullptr),
              kRegNotFound);
    EXPECT_EQ(values, 77u); // left alone on failure
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, "Software"), 0);
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, ""), 1);
    EXPECT_EQ(RegKeyExists(4, ""), 0);
    EXPECT_EQ(RegCreateKey(99, "x"), kRegFailure);
}

TEST_F(Registry, ValuesKeepTheirOrderAndTypes) {
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Vek\\\\trz4\\"), kRegOk);
    const char *key = "software\\VEK\\trz4";
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, key, "b", "COM1"), kRegOk);
    EXPECT_EQ(RegWriteULong(HKEY_CURRENT_USER, key, "a", 0x01020304u), kRegOk);
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, key, "B", "COM10"), kRegOk); // replaced in place
    unsigned subKeys = 9, values = 9, maxSub = 9, maxName = 9, maxData = 9;
    ASSERT_EQ(
        RegQueryInfoOnKey(HKEY_CURRENT_USER, key, &subKeys, &values, &maxSub, &maxName, &maxData),
        kRegOk);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, 1u);
    EXPECT_EQ(maxData, 6u);
    expectValueAt(HKEY_CURRENT_USER, key, 0, "b", REG_SZ, std::string("COM10", 6));
    expectValueAt(HKEY_CURRENT_USER, key, 1, "a", REG_DWORD, std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(
        RegEnumerateValue(HKEY_CURRENT_USER, key, 2, nullptr, nullptr, nullptr, nullptr, nullptr),
        kRegNoMoreData);

    char small[3];
    unsigned size = sizeof small;
    unsigned type = 0;
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, key, "b", nullptr, small, &size), kRegFailure);
    size = 0;
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, key, "b", &type, nullptr, &size), kRegOk);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, key, "c", &type, nullptr, &size), kRegNotFound);
    EXPECT_EQ(RegDeleteValue(HKEY_CURRENT_USER, key, "B"), kRegOk);
    EXPECT_EQ(valueName(HKEY_CURRENT_USER, key, 0), "a");
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, "Software\\none", "x", "y"), kRegNotFound);
}

TEST_F(Registry, SubKeysEnumerateInNameOrderAndDelete) {
    for (const char *name : {"base\\zeta", "base\\Alpha", "base\\mid\\deep"}) {
        ASSERT_EQ(RegCreateKey(HKEY_USERS, name), kRegOk);
    }
    char name[16];
    std::string order;
    for (unsigned i = 0;; ++i) {
        unsigned length = sizeof name;
        if (RegEnumerateSubKey(HKEY_USERS, "base", i, name, &length) != kRegOk) {
            break;
        }
        order += std::string(name) + ",";
    }
    EXPECT_EQ(order, "Alpha,mid,zeta,");
    unsigned length = 2;
    EXPECT_EQ(RegEnumerateSubKey(HKEY_USERS, "base", 0, name, &length), kRegFailure);
    EXPECT_EQ(RegDeleteKey(HKEY_USERS, "base\\MID"), kRegOk);
    EXPECT_EQ(RegKeyExists(HKEY_USERS, "base\\mid\\deep"), 0);
    EXPECT_EQ(RegDeleteKey(HKEY_USERS, "base\\mid"), kRegNotFound);
    EXPECT_EQ(RegWriteString(HKEY_USERS, "base", "v", "1"), kRegOk);
    EXPECT_EQ(RegDeleteSubKeys(HKEY_USERS, "base"), kRegOk);
    EXPECT_EQ(RegKeyExists(HKEY_USERS, "base\\zeta"), 0);
    EXPECT_EQ(valueName(HKEY_USERS, "base", 0), "v");
    EXPECT_EQ(RegDeleteSubKeys(HKEY_USERS, "gone"), kRegNotFound);
    EXPECT_EQ(RegDeleteKey(HKEY_USERS, ""), kRegAccessDenied);
}

TEST_F(Registry, DeniedKeysRefuseEveryAccess) {
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "SAM\\inner"), kRegOk);
    regDenyAccessForTesting(HKEY_LOCAL_MACHINE, "SAM", true);
    EXPECT_EQ(
        RegQueryInfoOnKey(HKEY_LOCAL_MACHINE, "SAM", nullptr, nullptr, nullptr, nullptr, nullptr),
        kRegAccessDenied);
    EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "SAM\\inner\\x"), kRegAccessDenied);
    EXPECT_EQ(RegDeleteSubKeys(HKEY_LOCAL_MACHINE, ""), kRegAccessDenied);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "SAM"), kRegAccessDenied);
    regDenyAccessForTesting(HKEY_LOCAL_MACHINE, "SAM", false);
    EXPECT_EQ(RegKeyExists(HKEY_LOCAL_MACHINE, "SAM\\inner"), 1);
}

TEST_F(Registry, DynamicKeyAsksItsProviderAtEveryQuery) {
    int calls = 0;
    RegStringValues ports = {{"\\Device\\Serial0", "COM1"}, {"ttyUSB0", "COM33"}};
    registerDynamicKey(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", [&] {
        ++calls;
        return ports;
    });
    const char *key = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
    unsigned values = 0;
    ASSERT_EQ(
        RegQueryInfoOnKey(HKEY_LOCAL_MACHINE, key, nullptr, &values, nullptr, nullptr, nullptr),
        kRegOk);
    EXPECT_EQ(values, 2u);
    expectValueAt(HKEY_LOCAL_MACHINE, key, 1, "ttyUSB0", REG_SZ, std::string("COM33", 6));
    ports.pop_back();
    EXPECT_EQ(valueName(HKEY_LOCAL_MACHINE, key, 1), "<none>");
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(RegWriteString(HKEY_LOCAL_MACHINE, key, "x", "COM2"), kRegAccessDenied);
    registerDynamicKey(HKEY_LOCAL_MACHINE, key,
                       []() -> RegStringValues { throw std::runtime_error("no devices"); });
    EXPECT_EQ(
        RegQueryInfoOnKey(HKEY_LOCAL_MACHINE, key, nullptr, &values, nullptr, nullptr, nullptr),
        kRegFailure);
    registerDynamicKey(HKEY_LOCAL_MACHINE, key, nullptr);
    ASSERT_EQ(
        RegQueryInfoOnKey(HKEY_LOCAL_MACHINE, key, nullptr, &values, nullptr, nullptr, nullptr),
        kRegOk);
    EXPECT_EQ(values, 0u);
}
