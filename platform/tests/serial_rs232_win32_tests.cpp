// The Windows serial backend: the reasons of a failed open, closed ports, and, when a Wine COM
// port mapped to a Linux pseudo-terminal with a card simulator behind it is named in
// TRZ4_TEST_WINE_COM (scripts/test does), real exchanges over it.

#include <windows.h>

#include "platform/rs232.h"
#include "platform/tests/closed_port_check.h"
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

// The Wine COM port of the simulator, or 0 when none is named.
int wineComPort() {
    const char *value = std::getenv("TRZ4_TEST_WINE_COM");
    return value ? std::atoi(value) : 0;
}

} // namespace

TEST(Win32Serial, AMissingPortAndWrongArgumentsSayWhy) {
    EXPECT_EQ(openPort(250), kComNoDevice);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::MissingDevice);
    EXPECT_EQ(lastOpenFailure().device, "COM250");
    EXPECT_EQ(lastOpenFailureCode(), kComNoDevice);
    EXPECT_EQ(openPort(0), kComInvalidPort);
    EXPECT_EQ(openPort(257), kComInvalidPort);
    EXPECT_EQ(OpenComConfig(250, "", 9600, 5, 7, 1, 512, 512), kComInvalidArgument);
    EXPECT_EQ(OpenComConfig(250, "", 9600, 1, 9, 1, 512, 512), kComInvalidArgument);
}

TEST(Win32Serial, SystemErrorsOfAnOpenSayWhatWentWrong) {
    OpenFailure failure;
    // What Windows answers for a port that another program has open: busy, with the system's
    // message named as Windows'.
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_ACCESS_DENIED, 3, "COM3", &failure), kComBusy);
    EXPECT_EQ(failure.kind, OpenFailureKind::Busy);
    EXPECT_EQ(failure.device, "COM3");
    EXPECT_EQ(failure.systemMessage.rfind("Windows: ", 0), 0u) << failure.systemMessage;
    EXPECT_EQ(failure.systemMessageEnglish.rfind("Windows: ", 0), 0u);
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_SHARING_VIOLATION, 3, "COM3", &failure),
              kComBusy);
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_FILE_NOT_FOUND, 4, "COM4", &failure),
              kComNoDevice);
    EXPECT_EQ(failure.kind, OpenFailureKind::MissingDevice);
    EXPECT_EQ(failure.device, "COM4");
    EXPECT_EQ(platform::win32::comOpenFailure(ERROR_GEN_FAILURE, 5, "COM5", &failure),
              kComSystemError);
    EXPECT_EQ(failure.kind, OpenFailureKind::SystemError);
    EXPECT_EQ(failure.systemError, static_cast<long>(ERROR_GEN_FAILURE));
    EXPECT_FALSE(failure.systemMessage.empty()) << "the system's own message";
    EXPECT_FALSE(failure.systemMessageEnglish.empty());
}

TEST(Win32Serial, OperationsOnAClosedPortFail) {
    expectEveryCallFindsThePortClosed(250);
}

TEST(Win32Serial, WinePseudoTerminalPortOpensAgainAndAgainAndExchanges) {
    const int com = wineComPort();
    if (com == 0)
        GTEST_SKIP() << "TRZ4_TEST_WINE_COM names no Wine COM port with a simulator";
    EXPECT_TRUE(platform::win32::wineMapsComPortToPseudoTerminal(com));
    // The first 7O1 on a pseudo-terminal would be taken without effect and every later one
    // refused: each of these opens must work.
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(openPort(com), 0)
            << lastOpenFailure().device << " " << lastOpenFailure().systemMessage;
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
    ASSERT_EQ(openPort(com), 0) << lastOpenFailure().device << " "
                                << lastOpenFailure().systemMessage;
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
