// COM numbers on Windows: the system's device names, no port map, and the list read from the
// registry's SERIALCOMM key (filled here with values of the test's own, removed again).

#include "platform/comports.h"
#include "platform/portwatch.h"
#include "platform/registry.h"
#include "platform/serialcomm_key.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <vector>

TEST(Win32ComPorts, NumbersAreTheSystemsDevices) {
    EXPECT_EQ(comDevicePath(1), "\\\\.\\COM1");
    EXPECT_EQ(comDevicePath(256), "\\\\.\\COM256");
    EXPECT_EQ(comDevicePath(0), "");
    EXPECT_EQ(comDevicePath(257), "");
    EXPECT_FALSE(portMapSupported());
    EXPECT_EQ(portMapDirectory(), "");
    EXPECT_EQ(addPortMapLink(9, "x"), -ENOSYS);
    EXPECT_EQ(removePortMapLink(9), -ENOSYS);
}

// Each value added to or removed from SERIALCOMM is a notice, the second one too (the
// notification is one-shot and must be armed again), and nothing is left pending after it.
TEST(Win32ComPorts, TheWatchHearsSerialCommValuesComeAndGo) {
    PortWatch watch;
    ASSERT_EQ(watch.start(), 0);
    ASSERT_GE(watch.descriptor(), 0);
    EXPECT_FALSE(watch.waitForChange(0));
    const int written = RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, "trz4-watch", "COM198");
    if (written == kRegAccessDenied)
        GTEST_SKIP() << "SERIALCOMM is closed to this user (an administrator may write it)";
    ASSERT_EQ(written, kRegOk);
    EXPECT_TRUE(watch.waitForChange(5000)) << "a port added";
    EXPECT_FALSE(watch.takeChanges());
    ASSERT_EQ(RegDeleteValue(HKEY_LOCAL_MACHINE, kSerialCommKey, "trz4-watch"), kRegOk);
    EXPECT_TRUE(watch.waitForChange(5000)) << "a port removed";
    watch.stop();
    EXPECT_EQ(watch.descriptor(), -1);
    EXPECT_FALSE(watch.waitForChange(0));
}

TEST(Win32ComPorts, TheListIsWhatSerialCommListsOncePerNumber) {
    struct Value {
        const char *name;
        const char *data;
    };
    const Value planted[] = {{"trz4-test-a", "COM200"}, {"trz4-test-b", "COM200"},
                             {"trz4-test-c", "COM199"}, {"trz4-test-d", "LPT1"},
                             {"trz4-test-e", "COM9x"},  {"trz4-test-f", "COM0"}};
    for (const Value &value : planted) {
        const int result =
            RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, value.name, value.data);
        if (result == kRegAccessDenied)
            GTEST_SKIP() << "SERIALCOMM is closed to this user (an administrator may write it)";
        ASSERT_EQ(result, kRegOk) << value.name;
    }
    ASSERT_EQ(RegWriteULong(HKEY_LOCAL_MACHINE, kSerialCommKey, "trz4-test-g", 201), kRegOk);
    const std::vector<ComPortInfo> ports = listComPorts();
    for (const Value &value : planted)
        RegDeleteValue(HKEY_LOCAL_MACHINE, kSerialCommKey, value.name);
    RegDeleteValue(HKEY_LOCAL_MACHINE, kSerialCommKey, "trz4-test-g");

    EXPECT_TRUE(
        std::is_sorted(ports.begin(), ports.end(), [](const ComPortInfo &a, const ComPortInfo &b) {
            return a.number < b.number;
        }));
    auto find = [&](int number) {
        return std::count_if(ports.begin(), ports.end(),
                             [number](const ComPortInfo &p) { return p.number == number; });
    };
    EXPECT_EQ(find(200), 1);
    EXPECT_EQ(find(199), 1);
    EXPECT_EQ(find(201), 0) << "only text values name ports";
    EXPECT_EQ(find(0), 0);
    for (const ComPortInfo &port : ports) {
        if (port.number == 199) {
            EXPECT_EQ(port.device, "trz4-test-c");
        }
    }
}

// A friendly name lands on its own port only: COM1 is no prefix of COM10, a printer port or a
// malformed PortName names none, and a German name keeps its umlaut.
TEST(Win32ComPorts, FriendlyNamesGoToTheirOwnNumbers) {
    const std::vector<platform::win32::PortDevice> devices = {
        {L"COM10", L"USB-SERIAL CH340 (COM10)"},
        {L"COM1", L"Kommunikationsanschluss (COM1)"},
        {L"COM5", L"Serielles USB-Ger\u00e4t (COM5)"},
        {L"COM5", L"second device on COM5"},
        {L"COM7", L""},
        {L"LPT1", L"Druckeranschluss (LPT1)"},
        {L"COM257", L"beyond the range"},
        {L"COM3x", L"trailing letter"},
        {L"", L"no PortName"},
    };
    const std::map<int, std::string> expected = {
        {1, "Kommunikationsanschluss (COM1)"},
        {5, "Serielles USB-Ger\xc3\xa4t (COM5)"},
        {10, "USB-SERIAL CH340 (COM10)"},
    };
    EXPECT_EQ(platform::win32::friendlyNamesByNumber(devices), expected);
}

// A user reads a port as Device Manager names it, not as the driver's device; without such a
// name (under Wine) the device's name still says which port it is.
TEST(Win32ComPorts, APortReadsAsDeviceManagerNamesItElseAsItsDevice) {
    EXPECT_EQ(systemPortName("\\Device\\Serial2", "USB-SERIAL CH340 (COM5)"),
              "USB-SERIAL CH340 (COM5)");
    EXPECT_EQ(systemPortName("\\Device\\Serial2", ""), "\\Device\\Serial2");
}
