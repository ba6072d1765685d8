// COM numbers on Windows: the system's device names, no port map, and the list read from the
// registry's SERIALCOMM key (filled here with values of the test's own, removed again).

#include "platform/comports.h"
#include "platform/portwatch.h"
#include "platform/registry.h"
#include "platform/serialcomm_key.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

TEST(Win32ComPorts, NumbersAreTheSystemsDevices) {
    EXPECT_EQ(comDevicePath(1), "\\\\.\\COM1");
    EXPECT_EQ(comDevicePath(256), "\\\\.\\COM256");
    EXPECT_EQ(comDevicePath(0), "");
    EXPECT_EQ(comDevicePath(257), "");
    EXPECT_FALSE(portMapSupported());
    EXPECT_EQ(portMapDirectory(), "");
    EXPECT_EQ(addPortMapLink(9, "x"), -ENOSYS);
    EXPECT_EQ(removePortMapLink(9), -ENOSYS);
    // No notice of ports coming and going: the list is read when it is asked for.
    PortWatch watch;
    EXPECT_EQ(watch.start(), kPortWatchUnsupported);
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
