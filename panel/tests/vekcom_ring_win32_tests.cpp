// The COM ring on Windows follows the serial-port key while the program runs: a serial driver
// adds its port's value to HKLM\HARDWARE\DEVICEMAP\SERIALCOMM when an adapter is plugged in and
// removes it when the adapter is pulled. The test plays the driver, so it needs write access
// to the key (under Wine it has it; on Windows as administrator, else it is skipped).
#include "cardlink/Vek_Com.h"
#include "errors/VEK_errorV3.h"
#include "platform/registry.h"
#include "platform/serialcomm_key.h"
#include "ui/testing/testpanels.h"
#include "ui/uiruntime.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char *kValueName = "\\Device\\trz4RingTest";
constexpr int kPort = 231; // a number no adapter of the test machine has

struct RemovedAtTheEnd {
    ~RemovedAtTheEnd() { RegDeleteValue(HKEY_LOCAL_MACHINE, kSerialCommKey, kValueName); }
};

TEST(ComRingOnWindows, FollowsAPortValueAddedToAndRemovedFromTheSerialPortKey) {
    ui::testing::registerTestPanels();
    const int panel = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    ASSERT_GT(panel, 0);
    VekCom_RegisterFehlerControls(panel, ERRORLED, ERRORTEXT, ERRORNUMBER);
    RemovedAtTheEnd removed;
    RegDeleteValue(HKEY_LOCAL_MACHINE, kSerialCommKey, kValueName); // left by an aborted run
    VekCom_RegisterComControl(panel, INTRING);
    auto *ring = qobject_cast<QComboBox *>(controlWidget(panel, INTRING));
    ASSERT_NE(ring, nullptr);
    ASSERT_EQ(ring->findData(kPort), -1);

    const std::string data = "COM" + std::to_string(kPort);
    if (RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, kValueName, data.c_str()) != 0)
        GTEST_SKIP() << "the serial-port key is not writable here";
    // Listed without the ring being opened; Windows knows no Device Manager name for the port,
    // so it reads as the value's name.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ring->findData(kPort) >= 0; }, 10000));
    EXPECT_EQ(ring->itemData(ring->findData(kPort), Qt::ToolTipRole).toString().toStdString(),
              kValueName);

    ASSERT_EQ(RegDeleteValue(HKEY_LOCAL_MACHINE, kSerialCommKey, kValueName), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ring->findData(kPort) < 0; }, 10000));
}

} // namespace
