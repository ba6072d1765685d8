// Reading files where Windows has its own rules: the names that open devices (a serial port
// above all) are never read from, wherever they stand.

#include "inifile/inifile.h"
#include "inifile/tests/ini_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace ini_test;

TEST(IniReadFile, DeviceNamesAreNeverRead) {
    ScratchDir dir;
    IniDocument *doc = Ini_New(1);
    for (const std::string &path : {std::string("COM1"), std::string("nul"), dir.file("aux.ini"),
                                    dir.file("COM9.ini"), std::string("\\\\.\\COM9"), dir.path()}) {
        EXPECT_EQ(Ini_ReadFromFile(doc, path.c_str()), kIniNotRegularFile) << path;
    }
    Ini_Dispose(doc);
}
