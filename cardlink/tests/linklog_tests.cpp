// The link log over the scripted serial double: the lines of every outcome, in both languages,
// and a recorder that does nothing while it is off.
#include "cardlink/linklog.h"
#include "cardlink/vektrz4.h"
#include "platform/serial_double.h"
#include "text/language.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace {

constexpr int kPort = 9;

class LinkLog : public ::testing::Test {
protected:
    void SetUp() override {
        setLinkLogSink([this](const LinkExchange &exchange) { recorded.push_back(exchange); });
        card.timeoutSet = 0.25;
    }
    void TearDown() override {
        setLinkLogSink({});
        setLanguage(Language::German);
    }

    // The exchange's lines without their time stamps, which the test checks once on its own.
    static std::string withoutTimes(const std::string &text) {
        static const std::regex stamp(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3}  )",
                                      std::regex::multiline);
        return std::regex_replace(text, stamp, "");
    }
    // The lines of the last exchange in `language`.
    std::string lines(Language language = Language::German) {
        EXPECT_EQ(recorded.size(), 1u);
        setLanguage(language);
        const std::string text =
            recorded.empty() ? "" : withoutTimes(formatLinkExchange(recorded.back()));
        setLanguage(Language::German);
        return text;
    }

    SerialDouble card;
    ScopedSerialBackend installed{card};
    std::vector<LinkExchange> recorded;
};

TEST_F(LinkLog, EachOutcomeHasItsLine) {
    struct Case {
        const char *what;
        std::string reply;
        int silence; // what a read gives once the reply is used up
        std::string german;
        std::string english;
    };
    const std::vector<Case> cases = {
        {"ACK and the answer", "\x06#1VEK-TRZ4-SIM\r", kComTimeout,
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1VEK-TRZ4-SIM<CR>  ACK\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1VEK-TRZ4-SIM<CR>  ACK\n"},
        {"NAK", "\x15", kComTimeout, "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <15>  NAK, Fehler #402010\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <15>  NAK, error #402010\n"},
        {"CAN", "\x18", kComTimeout, "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <18>  CAN, Fehler #405011\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <18>  CAN, error #405011\n"},
        {"silence", "", kComTimeout,
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-    Zeitüberschreitung nach 250 ms, Fehler #403012\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-    time-out after 250 ms, error #403012\n"},
        {"an answer that stalls", "\x06#1VEK", kComTimeout,
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1VEK  ACK, Zeitüberschreitung nach 250 ms, "
         "Fehler #404014\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1VEK  ACK, time-out after 250 ms, "
         "error #404014\n"},
        {"hang-up", "\x06#1", kComHangup,
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1  ACK, Verbindung getrennt, Fehler #404014\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1  ACK, hang-up, error #404014\n"},
        {"a wrong answer", "\x06#2<x>\r", kComTimeout,
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#2<3C>x><CR>  ACK, Fehler #404015\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#2<3C>x><CR>  ACK, error #404015\n"},
        {"a byte with the high bit", "\x06#1\xC4", kComTimeout,
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1<C4>  ACK, Fehler #404014\n",
         "COM 9  ->  #1IDR<CR>\nCOM 9  <-  <06>#1<C4>  ACK, error #404014\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        recorded.clear();
        card.addReply(c.reply);
        card.silenceResult = c.silence;
        char id[kTrz4IdBufferSize] = {};
        VEKTRZ4_IDLesen(kPort, '1', id);
        EXPECT_EQ(lines(Language::German), c.german);
        EXPECT_EQ(lines(Language::English), c.english);
    }
}

TEST_F(LinkLog, FailuresBeforeTheAnswerStandOnTheFramesLine) {
    card.flushInResult = kComSystemError;
    EXPECT_EQ(VEKTRZ4_IDLesen(kPort, '1', nullptr), -124207);
    EXPECT_EQ(lines(), "COM 9  ->    Fehler #124207\n") << "nothing went out";

    card.flushInResult = 0;
    card.overrideWrite = true;
    card.writeResult = 3;
    recorded.clear();
    EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kPort, '1', '5'), -101037);
    EXPECT_EQ(lines(Language::English), "COM 9  ->  #1D  error #101037\n")
        << "only what the port took";

    // The write command reads its handshake only.
    card.overrideWrite = false;
    card.addReply("\x06");
    recorded.clear();
    EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kPort, '1', '5'), 0);
    EXPECT_EQ(lines(), "COM 9  ->  #1DNW5<CR>\nCOM 9  <-  <06>  ACK\n");
}

// The fault: a port that would not open left nothing in the log, so the log of an operation
// that never reached the card was empty.
TEST_F(LinkLog, APortThatWouldNotOpenIsOneLineWithItsReasonAndNumber) {
    card.openResult = kComNoDevice;
    card.failure.device = "/dev/ttyUSB7";
    EXPECT_EQ(VEKTRZ4_Open(kPort, kTrz4BaudRate), vektrz4::kErrOpenFailed);
    const std::string number = std::to_string(-vektrz4::kErrOpenFailed);
    EXPECT_EQ(lines(), "COM 9  Öffnen fehlgeschlagen, Fehler #" + number +
                           ": Gerät /dev/ttyUSB7 ist nicht vorhanden.\n");
    EXPECT_EQ(lines(Language::English),
              "COM 9  open failed, error #" + number + ": Device /dev/ttyUSB7 does not exist.\n");
}

TEST_F(LinkLog, StatusReadAndTimeStamps) {
    card.addReply("\x06#1S1R300\r");
    int status = 0;
    ASSERT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "status", nullptr, &status, nullptr), 0);
    ASSERT_EQ(recorded.size(), 1u);
    const LinkExchange &exchange = recorded[0];
    EXPECT_EQ(exchange.port, kPort);
    EXPECT_EQ(exchange.sent, "#1S1R\r");
    EXPECT_EQ(exchange.received, "\x06#1S1R300\r");
    EXPECT_EQ(exchange.end, LinkEnd::Complete);
    EXPECT_EQ(exchange.result, 0);
    EXPECT_LE(exchange.sentAtMs, exchange.endedAtMs);
    const std::string text = formatLinkExchange(exchange);
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3}  )"
                                                  R"(COM 9  ->  #1S1R<CR>\n)"
                                                  R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3}  )"
                                                  R"(COM 9  <-  <06>#1S1R300<CR>  ACK\n)")))
        << text;
}

TEST_F(LinkLog, RefusedArgumentsAndARecorderThatIsOffRecordNothing) {
    char number = 0;
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, '&', &number), -400016);
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kPort, '1', "Status", nullptr, nullptr, nullptr), -401154);
    EXPECT_TRUE(recorded.empty());

    EXPECT_TRUE(linkLogOn());
    setLinkLogSink({});
    EXPECT_FALSE(linkLogOn());
    card.addReply("\x06#1DNR7\r");
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kPort, '1', &number), 0);
    EXPECT_EQ(number, '7');
    EXPECT_TRUE(recorded.empty());
}

TEST(LinkLogText, BytesReadBackExactly) {
    EXPECT_EQ(linkLogBytes(std::string("#1\r\n\x06\x00<>~\x7f\xff", 11)),
              "#1<CR><LF><06><00><3C>>~<7F><FF>");
    EXPECT_EQ(linkLogBytes(""), "");
}

TEST(LinkLogText, HistoryKeepsTheNewestAndTellsWhatItDropped) {
    LinkLogHistory history(2);
    std::vector<std::pair<int, bool>> heard;
    history.listener = [&heard](const LinkExchange &added, bool dropped) {
        heard.emplace_back(added.port, dropped);
    };
    for (int port = 1; port <= 3; ++port) {
        LinkExchange exchange;
        exchange.port = port;
        exchange.sent = "#1IDR\r";
        history.add(exchange);
    }
    ASSERT_EQ(history.exchanges().size(), 2u);
    EXPECT_EQ(history.exchanges().front().port, 2);
    EXPECT_EQ(history.exchanges().back().port, 3);
    EXPECT_EQ(heard, (std::vector<std::pair<int, bool>>{{1, false}, {2, false}, {3, true}}));
    const std::string text = history.text();
    EXPECT_NE(text.find("COM 2  ->  #1IDR<CR>\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("COM 1 "), std::string::npos) << text;
    EXPECT_EQ(LinkLogHistory::kDefaultCapacity, 1000u);
}

} // namespace
