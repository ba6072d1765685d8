// The registry layer on the Windows registry itself, below a test key of HKEY_CURRENT_USER that
// each test removes again: UTF-8 names and text through the system's UTF-16, sizes in UTF-8
// bytes, enumeration, deletion and the results of what is missing.

#include "platform/registry.h"

#include <gtest/gtest.h>

#include <process.h>
#include <string>

namespace {

constexpr const char *kTestParent = "Software\\trz4-Steuerung-Tests";

class WindowsRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        base = std::string(kTestParent) + "\\" + std::to_string(_getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, base.c_str()), kRegOk);
    }
    void TearDown() override {
        EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, base.c_str()), kRegOk);
        EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, base.c_str()), 0);
        // The common parent goes with the last test key below it.
        unsigned subKeys = 1;
        if (RegQueryInfoOnKey(HKEY_CURRENT_USER, kTestParent, &subKeys, nullptr, nullptr, nullptr,
                              nullptr) == kRegOk &&
            subKeys == 0)
            RegDeleteKey(HKEY_CURRENT_USER, kTestParent);
    }
    std::string key(const std::string &below = "") const {
        return below.empty() ? base : base + "\\" + below;
    }
    std::string base;
};

} // namespace

TEST_F(WindowsRegistry, TextTravelsAsUtf8AndSizesCountUtf8Bytes) {
    const std::string name = "Größe";        // 7 bytes in UTF-8, 5 UTF-16 units
    const std::string text = "COM3 – Ärger"; // 16 bytes in UTF-8
    ASSERT_EQ(RegWriteString(HKEY_CURRENT_USER, key().c_str(), name.c_str(), text.c_str()), kRegOk);
    ASSERT_EQ(RegWriteULong(HKEY_CURRENT_USER, key().c_str(), "n", 0x01020304u), kRegOk);
    unsigned values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoOnKey(HKEY_CURRENT_USER, key().c_str(), nullptr, &values, nullptr,
                                &maxName, &maxData),
              kRegOk);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, name.size());
    EXPECT_EQ(maxData, text.size() + 1);

    char data[64];
    unsigned size = sizeof data;
    unsigned type = 0;
    ASSERT_EQ(RegReadValue(HKEY_CURRENT_USER, key().c_str(), "GRößE", &type, data, &size), kRegOk);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(std::string(data, size), text + '\0');

    // Enumeration hands out the same name and data; a buffer one byte short is refused.
    bool found = false;
    for (unsigned index = 0;; ++index) {
        char valueName[64];
        unsigned nameLength = sizeof valueName;
        size = sizeof data;
        const int result = RegEnumerateValue(HKEY_CURRENT_USER, key().c_str(), index, valueName,
                                             &nameLength, data, &size, &type);
        if (result == kRegNoMoreData)
            break;
        ASSERT_EQ(result, kRegOk);
        if (std::string(valueName) == name) {
            found = true;
            EXPECT_EQ(nameLength, name.size());
            EXPECT_EQ(std::string(data, size), text + '\0');
            nameLength = static_cast<unsigned>(name.size());
            EXPECT_EQ(RegEnumerateValue(HKEY_CURRENT_USER, key().c_str(), index, valueName,
                                        &nameLength, nullptr, nullptr, nullptr),
                      kRegFailure);
        } else {
            EXPECT_EQ(type, REG_DWORD);
            EXPECT_EQ(std::string(data, size), std::string("\x04\x03\x02\x01", 4));
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(WindowsRegistry, DataWithoutTerminatorAndOtherTypesStayAsWritten) {
    ASSERT_EQ(RegWriteValue(HKEY_CURRENT_USER, key().c_str(), "open", REG_SZ, "ab", 2), kRegOk);
    ASSERT_EQ(RegWriteValue(HKEY_CURRENT_USER, key().c_str(), "bin", REG_BINARY, "\xFF\0x", 3),
              kRegOk);
    char data[8];
    unsigned size = sizeof data;
    ASSERT_EQ(RegReadValue(HKEY_CURRENT_USER, key().c_str(), "open", nullptr, data, &size), kRegOk);
    // Windows keeps the text as written; Wine adds the terminator that was left out.
    EXPECT_TRUE(std::string(data, size) == "ab" || std::string(data, size) == std::string("ab", 3))
        << size;
    size = sizeof data;
    ASSERT_EQ(RegReadValue(HKEY_CURRENT_USER, key().c_str(), "bin", nullptr, data, &size), kRegOk);
    EXPECT_EQ(std::string(data, size), std::string("\xFF\0x", 3));
    EXPECT_EQ(RegDeleteValue(HKEY_CURRENT_USER, key().c_str(), "OPEN"), kRegOk);
    EXPECT_EQ(RegDeleteValue(HKEY_CURRENT_USER, key().c_str(), "open"), kRegNotFound);
    EXPECT_EQ(RegWriteValue(HKEY_CURRENT_USER, key().c_str(), "null", REG_BINARY, nullptr, 1),
              kRegNullArgument);
}

TEST_F(WindowsRegistry, SubKeysAreListedAndDeletedWithEverythingBelow) {
    for (const char *below : {"zeta", "Alpha", "mid\\deep", "Ü"})
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, key(below).c_str()), kRegOk);
    ASSERT_EQ(RegWriteString(HKEY_CURRENT_USER, key("mid\\deep").c_str(), "v", "1"), kRegOk);
    unsigned subKeys = 0, maxSubKey = 0;
    ASSERT_EQ(RegQueryInfoOnKey(HKEY_CURRENT_USER, key().c_str(), &subKeys, nullptr, &maxSubKey,
                                nullptr, nullptr),
              kRegOk);
    EXPECT_EQ(subKeys, 4u);
    EXPECT_EQ(maxSubKey, 5u); // "Alpha"; "Ü" is 2 bytes
    std::string names;
    for (unsigned i = 0;; ++i) {
        char name[16];
        unsigned length = sizeof name;
        if (RegEnumerateSubKey(HKEY_CURRENT_USER, key().c_str(), i, name, &length) != kRegOk)
            break;
        names += std::string(name) + ",";
    }
    EXPECT_NE(names.find("Ü,"), std::string::npos) << names;
    EXPECT_EQ(names.size(), std::string("zeta,Alpha,mid,Ü,").size()) << names;

    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, key("MID").c_str()), kRegOk);
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, key("mid\\deep").c_str()), 0);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, key("mid").c_str()), kRegNotFound);
    ASSERT_EQ(RegWriteString(HKEY_CURRENT_USER, key().c_str(), "own", "stays"), kRegOk);
    EXPECT_EQ(RegDeleteSubKeys(HKEY_CURRENT_USER, key().c_str()), kRegOk);
    ASSERT_EQ(RegQueryInfoOnKey(HKEY_CURRENT_USER, key().c_str(), &subKeys, nullptr, nullptr,
                                nullptr, nullptr),
              kRegOk);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, key().c_str(), "own", nullptr, nullptr, nullptr),
              kRegOk);
}

TEST_F(WindowsRegistry, WhatIsMissingIsNotFoundAndCountsStayUnwritten) {
    unsigned values = 77;
    EXPECT_EQ(RegQueryInfoOnKey(HKEY_CURRENT_USER, key("none").c_str(), nullptr, &values, nullptr,
                                nullptr, nullptr),
              kRegNotFound);
    EXPECT_EQ(values, 77u);
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, key("none").c_str(), "x", "y"), kRegNotFound);
    EXPECT_EQ(RegEnumerateValue(HKEY_CURRENT_USER, key().c_str(), 0, nullptr, nullptr, nullptr,
                                nullptr, nullptr),
              kRegNoMoreData);
    EXPECT_EQ(RegDeleteSubKeys(HKEY_CURRENT_USER, key("none").c_str()), kRegNotFound);
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, key("none").c_str()), 0);
    EXPECT_EQ(RegKeyExists(HKEY_CURRENT_USER, key().c_str()), 1);
    EXPECT_EQ(RegKeyExists(4, ""), 0);
    EXPECT_EQ(RegCreateKey(99, "x"), kRegFailure);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, ""), kRegAccessDenied);
}
