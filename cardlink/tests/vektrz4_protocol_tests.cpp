// The card protocol against the scripted serial double: frames, answer decoding and every
// failure code of the exchange.
#include "cardlink/openfailure.h"
#include "cardlink/vektrz4.h"
#include "platform/serial_double.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

constexpr int kPort = 3;
const std::string kAck = "\x06";
const std::string kNak = "\x15";
const std::string kCan = "\x18";

class Protocol : public ::testing::Test {
protected:
    SerialDouble card;
    ScopedSerialBackend installed{card};
};

std::string hexBytes(const std::string &bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%s%02X", text.empty() ? "" : " ", c);
        text += hex;
    }
    return text;
}

// ---------------------------------------------------------------------------------------------
// Open, close, time-out

TEST_F(Protocol, OpenChecksBaudRateFirstThenPort) {
    EXPECT_EQ(VEKTRZ4_Open(0, 19200), -125001);
    EXPECT_EQ(VEKTRZ4_Open(0, 9600), -100002);
    EXPECT_EQ(VEKTRZ4_Open(257, 9600), -100002);
    EXPECT_TRUE(card.calls.empty());
    card.openResult = kComBusy;
    EXPECT_EQ(VEKTRZ4_Open(256, 9600), -100003);
    card.openResult = 0;
    EXPECT_EQ(VEKTRZ4_Open(1, 9600), 0);
    EXPECT_EQ(card.openedPort, 1);
    EXPECT_EQ(card.openedDevice, "");
    EXPECT_EQ(card.openedBaud, 9600);
    EXPECT_EQ(card.openedParity, 1);
    EXPECT_EQ(card.openedDataBits, 7);
    EXPECT_EQ(card.openedStopBits, 1);
    EXPECT_EQ(card.openedInQueue, 512);
    EXPECT_EQ(card.openedOutQueue, 512);
}

TEST_F(Protocol, OpenFailureKeepsTheReason) {
    card.openResult = kComBusy;
    card.failure.kind = OpenFailureKind::Busy;
    card.failure.device = "/dev/ttyUSB0";
    EXPECT_EQ(VEKTRZ4_Open(33, 9600), -100003);
    EXPECT_EQ(lastOpenFailureReason(),
              "/dev/ttyUSB0 ist belegt: ein anderes Programm verwendet die Schnittstelle.");
}

TEST_F(Protocol, CloseAndTimeoutReportTheirFailures) {
    EXPECT_EQ(VEKTRZ4_Close(kPort), 0);
    card.closeResult = kComNotOpen;
    EXPECT_EQ(VEKTRZ4_Close(kPort), -103004);
    EXPECT_EQ(VEKTRZ4_Timeout(kPort, 0.25), 0);
    EXPECT_DOUBLE_EQ(card.timeoutSet, 0.25);
    card.setTimeResult = kComInvalidArgument;
    EXPECT_EQ(VEKTRZ4_Timeout(kPort, -1), -111005);
}

TEST_F(Protocol, PufferLeerenFlushesInputBeforeOutput) {
    EXPECT_EQ(PufferLeeren(kPort), 0);
    EXPECT_EQ(card.calls, (std::vector<std::string>{"flushIn", "flushOut"}));
    card.flushInResult = kComSystemError;
    EXPECT_EQ(PufferLeeren(kPort), -124207);
    card.flushInResult = 0;
    card.flushOutResult = kComSystemError;
    EXPECT_EQ(PufferLeeren(kPort), -123208);
}

// ---------------------------------------------------------------------------------------------
// Frames, compared with the committed golden file

TEST_F(Protocol, FramesMatchGoldenFile) {
    std::ostringstream got;
    char text[32];
    int status = 0;
    char number = 0;
    auto record = [&](const std::string &label) {
        got << label << ": " << hexBytes(card.written) << "\n";
        card.written.clear();
    };
    VEKTRZ4_IDLesen(kPort, '1', text);
    record("IDLesen 1");
    VEKTRZ4_IDLesen(kPort, 'f', text);
    record("IDLesen f");
    VEKTRZ4_KartennummerLesen(kPort, '9', &number);
    record("KartennummerLesen 9");
    VEKTRZ4_KartennummerSchreiben(kPort, '1', '5');
    record("KartennummerSchreiben 1 5");
    VEKTRZ4_KartennummerSchreiben(kPort, 'a', 'f');
    record("KartennummerSchreiben a f");
    VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr);
    record("ParameterLesen 1 status");

    std::ifstream golden(TRZ4_CARDLINK_TESTS "/vektrz4_frames.golden");
    ASSERT_TRUE(golden) << "golden file missing";
    std::stringstream expected;
    expected << golden.rdbuf();
    EXPECT_EQ(got.str(), expected.str());
}

// ---------------------------------------------------------------------------------------------
// Successful answers and their decoding

TEST_F(Protocol, IdentificationTakesTheTextAfterAddress) {
    card.addReply(kAck + "#1VEK-TRZ4-0815\r");
    char text[32] = "unchanged";
    EXPECT_EQ(VEKTRZ4_IDLesen(kPort, '1', text), 0);
    EXPECT_STREQ(text, "VEK-TRZ4-0815");
    // The order of the exchange: flush in, flush out, write, drain, handshake, answer.
    ASSERT_GE(card.calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(card.calls.begin(), card.calls.begin() + 5),
              (std::vector<std::string>{"flushIn", "flushOut", "write", "outQ", "read"}));
}

TEST_F(Protocol, IdentificationOfTheLongestTextThatFits) {
    std::string text26(26, 'x');
    card.addReply(kAck + "#1" + text26 + "\r");
    char text[32] = {};
    EXPECT_EQ(VEKTRZ4_IDLesen(kPort, '1', text), 0);
    EXPECT_EQ(std::string(text), text26);
}

TEST_F(Protocol, IdentificationAnswerCutAfter29Bytes) {
    card.addReply(kAck + "#1" + std::string(27, 'y') + "\rTAIL");
    char text[32] = {};
    EXPECT_EQ(VEKTRZ4_IDLesen(kPort, '1', text), -404015);
    EXPECT_EQ(std::string(text), std::string(27, 'y')) << "the partial text stays";
    EXPECT_EQ(card.pendingInput(), "\rTAIL") << "bytes after the 29th are not read";
    // ...and the next command's flush discards them.
    card.addReply(kAck + "#1OK\r");
    EXPECT_EQ(VEKTRZ4_IDLesen(kPort, '1', text), 0);
    EXPECT_STREQ(text, "OK");
}

TEST_F(Protocol, IdentificationFormatFailures) {
    const std::string answers[] = {
        "#2VEK\r",                   // another address answered
        "*1VEK\r",                   // no start of frame
        "#1VEK X\r",                 // white space inside the text
        "#1\r",                      // no text at all
        "#1 VEK\r",                  // the text must start at the third byte
        std::string("#1VEK\0\r", 7), // NUL ends the scan before CR
    };
    for (size_t i = 0; i < std::size(answers); ++i) {
        SCOPED_TRACE(hexBytes(answers[i]));
        card.addReply(kAck + answers[i]);
        char text[32];
        EXPECT_EQ(VEKTRZ4_IDLesen(kPort, '1', text), -404015);
    }
}

TEST_F(Protocol, CardNumberIsTheByteAfterTheEcho) {
    card.addReply(kAck + "#1DNR7\r");
    char number = 'x';
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, '1', &number), 0);
    EXPECT_EQ(number, '7');
    // Not range-checked here: whatever the card sends as sixth byte is passed on.
    for (char printable : {'Z', ' ', '~'}) {
        card.addReply(kAck + "#1DNR" + printable + "\r");
        EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, '1', &number), 0);
        EXPECT_EQ(number, printable);
    }
}

TEST_F(Protocol, CardNumberWithoutCharacterAfterEcho) {
    // The bare echo with its CR, a NUL, or another control character where the number belongs
    // is no number, not a success with a line end as the card number.
    for (const std::string &noNumber : {std::string("\r"), std::string("\0\r", 2),
                                        std::string("\x1b\r"), std::string("\x7f\r")}) {
        card.addReply(kAck + "#1DNR" + noNumber);
        char number = 'x';
        EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, '1', &number), -404029) << hexBytes(noNumber);
        EXPECT_EQ(number, 'x') << "not written on failure";
    }
}

TEST_F(Protocol, WriteCardNumberSendsFrameAndEndsAtAck) {
    card.addReply(kAck + "#1EXTRA\r");
    EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kPort, '1', '5'), 0);
    EXPECT_EQ(card.written, "\x23\x31\x44\x4E\x57\x35\x0D");
    EXPECT_EQ(card.count("read"), 1) << "no byte after the ACK is read";
}

TEST_F(Protocol, StatusIsHexadecimal) {
    struct Case {
        std::string value;
        int expected;
    } cases[] = {
        {"20", 32},       {"0", 0},     {"a5", 0xA5}, {"A5", 0xA5}, {"7FFFFFFF", 0x7FFFFFFF},
        {"FFFFFFFF", -1}, {"1F.", 0x1F}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        card.addReply(kAck + "#1S1R" + c.value + "\r");
        int status = -7;
        double real = 1.5;
        char textOut[8] = "keep";
        EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", &real, &status, textOut), 0);
        EXPECT_EQ(status, c.expected);
        EXPECT_EQ(real, 1.5) << "only the int output is written";
        EXPECT_STREQ(textOut, "keep");
    }
}

TEST_F(Protocol, StatusRefusalsAndBadValues) {
    int status = -7;
    card.addReply(kAck + "#1S1Rerr\r");
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr), -409164);
    card.addReply(kAck + "#1S1Rzz\r");
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr), -404169);
    card.addReply(kAck + "#1S1R\r");
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr), -404169);
    // Only "err" followed by CR is the card's refusal; otherwise "e" is a hexadecimal digit.
    card.addReply(kAck + "#1S1Rerrx\r");
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr), 0);
    EXPECT_EQ(status, 0xE);
    status = -7;
    // More than 32 bits is no status word; it is not wrapped into a wrong one.
    card.addReply(kAck + "#1S1R100000000\r");
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr), -404169);
    EXPECT_EQ(status, -7);
}

TEST_F(Protocol, NullOutputsAreAllowed) {
    card.addReply(kAck + "#1VEK\r");
    EXPECT_EQ(VEKTRZ4_IDLesen(kPort, '1', nullptr), 0);
    card.addReply(kAck + "#1DNR3\r");
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, '1', nullptr), 0);
    card.addReply(kAck + "#1S1R20\r");
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, nullptr, nullptr), 0);
}

// ---------------------------------------------------------------------------------------------
// Argument checks: nothing is sent

TEST_F(Protocol, InvalidArgumentsSendNothing) {
    char text[32];
    char number;
    int status;
    for (char address : {'0', 'A', 'F', '&', 'g', ' ', '\0', '#'}) {
        SCOPED_TRACE(int(address));
        EXPECT_EQ(VEKTRZ4_IDLesen(kPort, address, text), -400006);
        EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, address, &number), -400016);
        EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kPort, address, '5'), -400031);
        EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kPort, address, 'g'), -400031)
            << "the address code wins";
        EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, address, "status", nullptr, &status, nullptr),
                  -400132);
    }
    for (char value : {'g', '0', 'A', '&'})
        EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kPort, '1', value), -500033);
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "Status", nullptr, &status, nullptr), -401154);
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status ", nullptr, &status, nullptr), -401154);
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', nullptr, nullptr, &status, nullptr), -401154);
    EXPECT_TRUE(card.calls.empty());
}

// ---------------------------------------------------------------------------------------------
// The failure table: every step of every command

struct Command {
    const char *name;
    std::function<int()> call;
    std::string frame;
    bool readsAnswer;
};

struct Codes {
    int flushIn, flushOut, writeNegative, shortWrite, nak, can, noHandshake, wrongHandshake,
        answerRead, echo;
};

std::vector<std::pair<Command, Codes>> commands() {
    static char text[32];
    static char number;
    static int status;
    return {
        {{"IDLesen", [] { return VEKTRZ4_IDLesen(kPort, '1', text); }, "#1IDR\r", true},
         {-124207, -123208, -101008, -114009, -402010, -405011, -403012, -404013, -404014, 0}},
        {{"KartennummerLesen", [] { return VEKTRZ4_KartennummerLesen(kPort, '1', &number); },
          "#1DNR\r", true},
         {-112019, -112019, -101020, -114021, -402022, -405023, -403024, -404025, -404026,
          -404027}},
        {{"KartennummerSchreiben", [] { return VEKTRZ4_KartennummerSchreiben(kPort, '1', '5'); },
          "#1DNW5\r", false},
         {-112035, -112035, -101036, -101037, -402038, -405039, -403040, -404041, 0, 0}},
        {{"ParameterLesen",
          [] { return VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr); },
          "#1S1R\r", true},
         {-112155, -112155, -101156, -114157, -402158, -405159, -403160, -404161, -404162,
          -404163}},
    };
}

class FailureTable : public ::testing::Test {
protected:
    // Runs each command against a fresh double prepared by setup; checks the code.
    void expectEach(const std::function<void(SerialDouble &, const Command &)> &setup,
                    int Codes::*expected) {
        for (auto &[command, codes] : commands()) {
            if (codes.*expected == 0)
                continue;
            SCOPED_TRACE(command.name);
            SerialDouble card;
            ScopedSerialBackend installed(card);
            setup(card, command);
            EXPECT_EQ(command.call(), codes.*expected);
        }
    }
};

TEST_F(FailureTable, FlushFailures) {
    expectEach([](SerialDouble &c, const Command &) { c.flushInResult = kComSystemError; },
               &Codes::flushIn);
    expectEach([](SerialDouble &c, const Command &) { c.flushOutResult = kComSystemError; },
               &Codes::flushOut);
    // Nothing is sent after a failed flush.
    SerialDouble card;
    ScopedSerialBackend installed(card);
    card.flushOutResult = kComSystemError;
    VEKTRZ4_KartennummerSchreiben(kPort, '1', '5');
    EXPECT_EQ(card.count("write"), 0);
}

TEST_F(FailureTable, WriteFailures) {
    expectEach(
        [](SerialDouble &c, const Command &) {
            c.overrideWrite = true;
            c.writeResult = kComSystemError;
        },
        &Codes::writeNegative);
    expectEach(
        [](SerialDouble &c, const Command &) {
            c.overrideWrite = true;
            c.writeResult = 3;
        },
        &Codes::shortWrite);
    // Accepting more than the frame is just as wrong as accepting less.
    expectEach(
        [](SerialDouble &c, const Command &cmd) {
            c.overrideWrite = true;
            c.writeResult = static_cast<int>(cmd.frame.size()) + 1;
        },
        &Codes::shortWrite);
}

TEST_F(FailureTable, DrainFailureIsAWriteFailure) {
    // The queue length query fails (the adapter was pulled): no hang, a write failure.
    expectEach(
        [](SerialDouble &c, const Command &) {
            c.outQueueLengths = {2, kComHangup};
        },
        &Codes::writeNegative);
    // The queue never drains: bounded by the port's time-out.
    auto start = std::chrono::steady_clock::now();
    expectEach(
        [](SerialDouble &c, const Command &) {
            c.timeoutSet = 0.05;
            c.outQueueLengths = {6};
        },
        &Codes::writeNegative);
    double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(elapsed, 4 * 0.05);
    EXPECT_LT(elapsed, 4 * 0.05 * 1.8 + 0.2);
}

TEST_F(FailureTable, DrainWaitsForTheQueueToEmpty) {
    for (auto &[command, codes] : commands()) {
        SCOPED_TRACE(command.name);
        SerialDouble card;
        ScopedSerialBackend installed(card);
        card.outQueueLengths = {5, 3, 1, 0};
        card.responder = [](const std::string &frame) {
            if (frame[2] == 'I')
                return kAck + "#1X\r";
            return kAck + frame.substr(0, 5) + "1\r";
        };
        EXPECT_EQ(command.call(), 0);
        EXPECT_EQ(card.count("outQ"), 4);
    }
}

TEST_F(FailureTable, HandshakeFailures) {
    auto reply = [](const std::string &bytes) {
        return [bytes](SerialDouble &c, const Command &) { c.addReply(bytes); };
    };
    expectEach(reply(kNak), &Codes::nak);
    expectEach(reply(kCan), &Codes::can);
    expectEach(reply(""), &Codes::noHandshake);     // silence
    expectEach(reply("\x86"), &Codes::noHandshake); // ACK with the high bit
    expectEach(reply("\xFF"), &Codes::noHandshake);
    expectEach([](SerialDouble &c, const Command &) { c.silenceResult = kComHangup; },
               &Codes::noHandshake);                    // the line is gone
    expectEach(reply("#1IDR"), &Codes::wrongHandshake); // a stray byte, no handshake
    expectEach(reply(std::string(1, '\0')), &Codes::wrongHandshake);
}

TEST_F(FailureTable, StrayBytesBeforeTheExchangeAreFlushed) {
    for (auto &[command, codes] : commands()) {
        SCOPED_TRACE(command.name);
        SerialDouble card;
        ScopedSerialBackend installed(card);
        card.addInput(kNak + "junk\r");
        card.responder = [](const std::string &frame) {
            if (frame[2] == 'I')
                return kAck + "#1X\r";
            return kAck + frame.substr(0, 5) + "1\r";
        };
        EXPECT_EQ(command.call(), 0);
    }
}

TEST_F(FailureTable, AnswerReadFailures) {
    auto reply = [](const std::string &bytes) {
        return [bytes](SerialDouble &c, const Command &cmd) {
            c.addReply(kAck + cmd.frame.substr(0, 3) + bytes);
        };
    };
    expectEach(reply(""), &Codes::answerRead);     // stalls after three bytes
    expectEach(reply("\xC4"), &Codes::answerRead); // a byte of 0x80 or above
    expectEach(reply("\x80\r"), &Codes::answerRead);
}

TEST_F(FailureTable, TrickledAnswerEndsAtTheCommandsDeadline) {
    // Every byte arrives just inside the per-byte time-out: the command as a whole still ends
    // after about one time-out, as a command that got no answer in time.
    constexpr double kTimeout = 0.05;
    for (auto &[command, codes] : commands()) {
        if (!command.readsAnswer)
            continue;
        SCOPED_TRACE(command.name);
        SerialDouble card;
        ScopedSerialBackend installed(card);
        card.timeoutSet = kTimeout;
        card.byteWaitSeconds = kTimeout * 0.8;
        card.addReply(kAck + command.frame.substr(0, 5) + "0123456789abcdef\r");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(command.call(), codes.noHandshake);
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                  kTimeout * 2);
        EXPECT_EQ(card.timeoutSet, kTimeout) << "the port's own time-out is back";
    }
}

TEST_F(FailureTable, EchoFailures) {
    auto reply = [](const std::function<std::string(const std::string &)> &answer) {
        return
            [answer](SerialDouble &c, const Command &cmd) { c.addReply(kAck + answer(cmd.frame)); };
    };
    // Another address, each letter wrong in turn, shorter than the echo, empty.
    expectEach(reply([](const std::string &f) { return "#2" + f.substr(2, 3) + "1\r"; }),
               &Codes::echo);
    for (size_t i = 0; i < 5; ++i) {
        expectEach(reply([i](const std::string &f) {
                       std::string answer = f.substr(0, 5) + "1\r";
                       answer[i] = 'x';
                       return answer;
                   }),
                   &Codes::echo);
    }
    expectEach(reply([](const std::string &f) { return f.substr(0, 3) + "\r"; }), &Codes::echo);
    expectEach(reply([](const std::string &) { return "\r"; }), &Codes::echo);
}

TEST(FailureTableEcho, EachCommandChecksItsOwnLetters) {
    // Only the card-number read and the status read echo; the identification does not.
    SerialDouble card;
    ScopedSerialBackend installed(card);
    card.addReply(kAck + "#1S1R20\r");
    char number;
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, '1', &number), -404027);
    int status;
    card.addReply(kAck + "#1DNR20\r");
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr), -404163);
}

} // namespace
