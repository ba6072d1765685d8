// The Windows helpers: UTF-8 and UTF-16, the errno of a system error, and Wine's port map.

#include <windows.h>

#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace platform::win32;

TEST(Win32Text, Utf8AndUtf16RoundTrip) {
    const std::string text = "Größe – 日本 – 😀";
    EXPECT_EQ(utf8(wide(text)), text);
    EXPECT_EQ(wide("Ä"), std::wstring(L"\u00C4"));
    EXPECT_EQ(wide("😀").size(), 2u) << "a surrogate pair";
    EXPECT_EQ(utf8(wide("")), "");
    EXPECT_EQ(utf8(wide("\xFF")), "\xEF\xBF\xBD") << "invalid UTF-8 becomes U+FFFD";
}

TEST(Win32Text, SystemErrorsBecomeErrnoAndMessages) {
    EXPECT_EQ(errnoForError(ERROR_FILE_NOT_FOUND), ENOENT);
    EXPECT_EQ(errnoForError(ERROR_PATH_NOT_FOUND), ENOENT);
    EXPECT_EQ(errnoForError(ERROR_FILE_EXISTS), EEXIST);
    EXPECT_EQ(errnoForError(ERROR_ACCESS_DENIED), EACCES);
    EXPECT_EQ(errnoForError(ERROR_SHARING_VIOLATION), EBUSY);
    EXPECT_EQ(errnoForError(ERROR_DISK_FULL), ENOSPC);
    EXPECT_EQ(errnoForError(ERROR_NOT_SAME_DEVICE), EXDEV);
    EXPECT_EQ(errnoForError(ERROR_CRC), EIO);
    const std::string message = systemMessage(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(message.empty());
    EXPECT_NE(message.back(), '.');
    EXPECT_NE(message.back(), '\n');
}

TEST(Win32Text, WinePortsOutsideTheRangeAreNone) {
    EXPECT_EQ(wineComPortDevice(0), "");
    EXPECT_EQ(wineComPortDevice(257), "");
    EXPECT_FALSE(wineMapsComPortToPseudoTerminal(0));
}
