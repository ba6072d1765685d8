// The card session over the scripted serial double: what a probe makes of each kind of answer,
// the open with its failure reason, and the port closed whatever way the session ends.
#include "cardlink/cardsession.h"
#include "platform/serial_double.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kPort = 7;
using Calls = std::vector<std::string>;

class Session : public ::testing::Test {
protected:
    SerialDouble line;
    ScopedSerialBackend installed{line};
};

TEST(CardSessionProbe, SortsEveryKindOfAnswer) {
    struct Case {
        const char *what;
        char address;
        std::string reply; // "" : silence
        bool writeFails;
        CardProbeKind kind;
        int code;
        const char *text;
    };
    const Case cases[] = {
        {"card", '1', "\x06#1VEK-TRZ4-SIM\r", false, CardProbeKind::Card, 0, "VEK-TRZ4-SIM"},
        {"prefix alone", '1', "\x06#1VEK-TRZ4-\r", false, CardProbeKind::Card, 0, "VEK-TRZ4-"},
        {"foreign", '1', "\x06#1MULTIMETER\r", false, CardProbeKind::OtherDevice, 0, "MULTIMETER"},
        {"prefix in lower case", '1', "\x06#1vek-trz4-x\r", false, CardProbeKind::OtherDevice, 0,
         "vek-trz4-x"},
        {"silence", '1', "", false, CardProbeKind::NoAnswer, vektrz4::kErrIdNoHandshake, ""},
        {"NAK", '1', "\x15", false, CardProbeKind::NoAnswer, vektrz4::kErrIdNak, ""},
        {"CAN", '1', "\x18", false, CardProbeKind::NoAnswer, vektrz4::kErrIdCan, ""},
        {"garbage handshake", '1', "x#1VEK-TRZ4-SIM\r", false, CardProbeKind::NoAnswer,
         vektrz4::kErrIdWrongHandshake, ""},
        // The text is copied before the last check fails: it must not pass for an answer.
        {"another address answers", '1', "\x06#2VEK-TRZ4-SIM\r", false, CardProbeKind::NoAnswer,
         vektrz4::kErrIdFormat, ""},
        {"answer cut off", '1', "\x06#1VEK", false, CardProbeKind::NoAnswer,
         vektrz4::kErrIdAnswerRead, ""},
        {"write fails", '1', "", true, CardProbeKind::Error, vektrz4::kErrIdWrite, ""},
        {"refused address", 'z', "", false, CardProbeKind::Error, vektrz4::kErrIdAddress, ""},
    };
    for (const Case &c : cases) {
        SerialDouble device;
        ScopedSerialBackend scoped(device);
        if (!c.reply.empty())
            device.addReply(c.reply);
        device.overrideWrite = c.writeFails;
        device.writeResult = kComSystemError;
        CardSession session;
        ASSERT_EQ(session.open(kPort), 0);
        const CardProbe probe = session.probe(c.address);
        EXPECT_EQ(probe.kind, c.kind) << c.what;
        EXPECT_EQ(probe.code, c.code) << c.what;
        EXPECT_STREQ(probe.text, c.text) << c.what;
        EXPECT_EQ(probe.answered(), c.code == 0) << c.what;
    }
}

TEST_F(Session, OpensAtTheCardsTimeOutAndClosesWhenItEnds) {
    {
        CardSession session;
        ASSERT_EQ(session.open(kPort), 0);
        EXPECT_EQ(session.port(), kPort);
        EXPECT_EQ(line.openedBaud, kTrz4BaudRate);
        EXPECT_DOUBLE_EQ(line.timeoutSet, kTrz4TimeoutSeconds);
        EXPECT_EQ(line.calls, (Calls{"open", "time"}));
    }
    EXPECT_EQ(line.calls, (Calls{"open", "time", "close"}));
    EXPECT_FALSE(line.isOpen);

    // A moved session hands its port over: it is closed once, by the one that has it last.
    line.calls.clear();
    {
        CardSession first;
        ASSERT_EQ(first.open(kPort, 0.25), 0);
        EXPECT_DOUBLE_EQ(line.timeoutSet, 0.25);
        CardSession second = std::move(first);
        EXPECT_FALSE(first.isOpen());
        EXPECT_EQ(second.port(), kPort);
        CardSession third;
        third = std::move(second);
        EXPECT_EQ(line.count("close"), 0);
    }
    EXPECT_EQ(line.count("close"), 1);

    // Opening again closes the port first; closing twice closes once.
    line.calls.clear();
    CardSession session;
    session.open(kPort);
    session.open(kPort + 1);
    EXPECT_EQ(line.calls, (Calls{"open", "time", "close", "open", "time"}));
    EXPECT_EQ(session.close(), 0);
    EXPECT_EQ(session.close(), 0);
    EXPECT_EQ(line.count("close"), 2);
}

TEST_F(Session, AFailedOpenKeepsItsReasonAndATimeOutFailureIsNotFatal) {
    CardSession session;
    line.openResult = kComBusy;
    line.failure.kind = OpenFailureKind::Busy;
    line.failure.device = "/dev/ttyUSB0";
    EXPECT_EQ(session.open(kPort), vektrz4::kErrOpenFailed);
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(session.openFailure().comError, kComBusy);
    EXPECT_EQ(session.openFailure().detail.kind, OpenFailureKind::Busy);
    EXPECT_EQ(session.openFailure().detail.device, "/dev/ttyUSB0");
    EXPECT_EQ(line.count("time"), 0);

    // A port number the protocol refuses never reaches the system: the reason of the earlier
    // failure is not passed off as this one's.
    EXPECT_EQ(session.open(0), vektrz4::kErrOpenPortNumber);
    EXPECT_EQ(session.openFailure().comError, 0);
    EXPECT_EQ(session.openFailure().detail.kind, OpenFailureKind::None);

    line.openResult = 0;
    line.setTimeResult = kComInvalidArgument;
    EXPECT_EQ(session.open(kPort), 0);
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(session.timeoutResult(), vektrz4::kErrTimeout);
    EXPECT_EQ(session.openFailure().reason(), "");
}

} // namespace
