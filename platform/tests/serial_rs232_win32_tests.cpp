// The Windows serial backend: the reasons of a failed open, closed ports, and, when a Wine COM
// port mapped to a Linux pseudo-terminal with a card simulator behind it is named in
// TRZ4_TEST_WINE_COM (scripts/test does), real exchanges over it.

#include <windows.h>

#include "platform/rs232.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int openPort(int com) {
    return OpenComConfig(com, "", 9600, 1, 7, 1, 512, 512);
}

bool contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// The Wine COM port of the simulator, or 0 when none is named.
int wineComPort() {
    const char *value = std::getenv("TRZ4_TEST_WINE_COM");
    return value ? std::atoi(value) : 0;
}

} // namespace

TEST(Win32Serial, AMissingPortAndWrongArgumentsSayWhy) {
    EXPECT_EQ(openPort(250), kComNoDevice);
    EXPECT_STREQ(lastOpenFailureReason(), "Gerät COM250 ist nicht vorhanden.");
    EXPECT_STREQ(lastOpenFailureReason(ReasonLanguage::English), "Device COM250 does not exist.");
    EXPECT_EQ(lastOpenFailureCode(), kComNoDevice);
    EXPECT_EQ(openPort(0), kComInvalidPort);
    EXPECT_EQ(openPort(257), kComInvalidPort);
    EXPECT_EQ(OpenComConfig(250, "", 9600, 5, 7, 1, 512, 512), kComInvalidArgument);
    EXPECT_EQ(OpenComConfig(250, "", 9600, 1, 9, 1, 512, 512), kComInvalidArgument);
}

TEST(Win32Serial, SystemErrorsOfAnOpenBecomeTheOperatorsReasons) {
    platform::detail::Reason reason;
    // What Windows answers for a port that another program has open.
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_ACCESS_DENIED, "COM3", &reason), kComBusy);
    EXPECT_TRUE(contains(reason.german, "COM3 ist belegt: ein anderes Programm verwendet die "
                                        "Schnittstelle."))
        << reason.german;
    EXPECT_TRUE(contains(reason.english, "COM3 is busy: another program is using the port."))
        << reason.english;
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_SHARING_VIOLATION, "COM3", &reason), kComBusy);
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_FILE_NOT_FOUND, "COM4", &reason), kComNoDevice);
    EXPECT_EQ(reason.german, "Gerät COM4 ist nicht vorhanden.");
    EXPECT_EQ(reason.english, "Device COM4 does not exist.");
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_GEN_FAILURE, "COM5", &reason), kComSystemError);
    EXPECT_EQ(reason.german.rfind("COM5: ", 0), 0u) << reason.german;
    EXPECT_GT(reason.german.size(), 8u) << "the system's own message follows";
    EXPECT_EQ(reason.english.rfind("COM5: ", 0), 0u) << reason.english;
}

TEST(Win32Serial, OperationsOnAClosedPortFail) {
    const int com = 250;
    EXPECT_EQ(CloseCom(com), kComNotOpen);
    EXPECT_EQ(SetComTime(com, 1.0), kComNotOpen);
    EXPECT_EQ(FlushInQ(com), kComNotOpen);
    EXPECT_EQ(FlushOutQ(com), kComNotOpen);
    EXPECT_EQ(ComWrt(com, "#", 1), kComNotOpen);
    EXPECT_EQ(GetOutQLen(com), kComNotOpen);
    EXPECT_EQ(ComRdByte(com), kComNotOpen);
    EXPECT_EQ(ComRdByte(0), kComInvalidPort);
}

TEST(Win32Serial, WinePseudoTerminalPortOpensAgainAndAgainAndExchanges) {
    const int com = wineComPort();
    if (com == 0)
        GTEST_SKIP() << "TRZ4_TEST_WINE_COM names no Wine COM port with a simulator";
    EXPECT_TRUE(platform::win32::wineMapsComPortToPseudoTerminal(com));
    // The first 7O1 on a pseudo-terminal would be taken without effect and every later one
    // refused: each of these opens must work.
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(openPort(com), 0) << lastOpenFailureReason();
        ASSERT_EQ(SetComTime(com, 1.0), 0);
        ASSERT_EQ(FlushInQ(com), 0);
        ASSERT_EQ(FlushOutQ(com), 0);
        ASSERT_EQ(ComWrt(com, "#1IDR\r", 6), 6);
        EXPECT_EQ(GetOutQLen(com), 0);
        EXPECT_EQ(ComRdByte(com), 0x06);
        std::string answer;
        for (int c = ComRdByte(com); c >= 0 && answer.size() < 40; c = ComRdByte(com)) {
            answer += static_cast<char>(c);
            if (c == '\r')
                break;
        }
        EXPECT_EQ(answer.rfind("#1", 0), 0u) << answer;
        EXPECT_EQ(answer.back(), '\r');
        EXPECT_EQ(CloseCom(com), 0);
    }
}

TEST(Win32Serial, WinePseudoTerminalSilenceCostsOneTimeout) {
    const int com = wineComPort();
    if (com == 0)
        GTEST_SKIP() << "TRZ4_TEST_WINE_COM names no Wine COM port with a simulator";
    ASSERT_EQ(openPort(com), 0) << lastOpenFailureReason();
    ASSERT_EQ(SetComTime(com, 0.2), 0);
    EXPECT_DOUBLE_EQ(comTimeoutSeconds(com), 0.2);
    auto start = Clock::now();
    EXPECT_EQ(ComRdByte(com), kComTimeout);
    const double elapsed = secondsSince(start);
    EXPECT_GE(elapsed, 0.15);
    EXPECT_LT(elapsed, 0.6);
    // With a wait hook the wait is cut into slices, and the hook runs between them.
    static int hookCalls = 0;
    hookCalls = 0;
    const SerialWaitHook previous = setSerialWaitHook([] { ++hookCalls; });
    start = Clock::now();
    EXPECT_EQ(ComRdByte(com), kComTimeout);
    setSerialWaitHook(previous);
    EXPECT_GE(secondsSince(start), 0.15);
    EXPECT_GE(hookCalls, 5) << "about one call per " << kSerialWaitSliceMs << " ms";
    ASSERT_EQ(SetComTime(com, 0.0), 0);
    start = Clock::now();
    EXPECT_EQ(ComRdByte(com), kComTimeout);
    EXPECT_LT(secondsSince(start), 0.1) << "a zero time-out does not wait";
    EXPECT_EQ(SetComTime(com, -1.0), kComInvalidArgument);
    EXPECT_EQ(CloseCom(com), 0);
}
