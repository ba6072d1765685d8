// trz4ctl in-process against the serial test double: what the card sends must not fool the
// tool or the operator's terminal, and a script must be able to trust the exit status.
#include "tools/trz4ctl/trz4ctl.h"

#include "platform/serial_double.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

struct CtlRun {
    int exitStatus;
    std::string out;
    std::string err;
};

class CardInput : public ::testing::Test {
protected:
    // The card's answer (handshake and line) to each command, by the frame without its CR.
    std::map<std::string, std::string> answers;
    SerialDouble serial;

    void SetUp() override {
        // The tool speaks the locale's language; these cases read its German.
        setenv("LANG", "de_DE.UTF-8", 1);
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        serial.responder = [this](const std::string &frame) {
            const auto found = answers.find(frame.substr(0, frame.size() - 1));
            return found == answers.end() ? std::string() : found->second;
        };
    }

    CtlRun ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--com", "9", "--timeout", "0.01"});
        ScopedSerialBackend scoped(serial);
        std::ostringstream out, err;
        const int status = runTrz4ctl(args, out, err);
        return {status, out.str(), err.str()};
    }
};

bool hasControlBytes(const std::string &text) {
    for (unsigned char c : text)
        if ((c < 0x20 && c != '\n') || c == 0x7F)
            return true;
    return false;
}

TEST_F(CardInput, ControlCharactersFromTheCardArePrintedVisiblyEscaped) {
    // Clears the screen, then sets the window title (OSC ... BEL): an identification text
    // holds no white space, but every other control character passes the protocol.
    answers["#1IDR"] = "\x06#1VEK-TRZ4-\x1b[2J\x1b]0;x\x07\x7f\\\r";
    CtlRun id = ctl({"id"});
    EXPECT_EQ(id.exitStatus, 0) << id.err;
    EXPECT_EQ(id.out, "ID: VEK-TRZ4-\\x1b[2J\\x1b]0;x\\x07\\x7f\\\\\n");

    CtlRun scan = ctl({"scan"});
    EXPECT_EQ(scan.exitStatus, 0) << scan.err;
    EXPECT_FALSE(hasControlBytes(scan.out)) << scan.out;
    EXPECT_NE(scan.out.find("ID VEK-TRZ4-\\x1b[2J"), std::string::npos) << scan.out;

    // JSON carries the text itself, escaped the JSON way.
    CtlRun json = ctl({"id", "--json"});
    EXPECT_FALSE(hasControlBytes(json.out)) << json.out;
    EXPECT_NE(json.out.find(R"("id":"VEK-TRZ4-\u001b[2J\u001b]0;x\u0007\u007f\\")"),
              std::string::npos)
        << json.out;
}

TEST_F(CardInput, ACardNumberAnswerWithoutANumberIsAWrongAnswer) {
    for (const std::string number : {"\r", "\x1b", "\x01"}) {
        answers["#1DNR"] = "\x06#1DNR" + number + "\r";
        CtlRun read = ctl({"read"});
        EXPECT_EQ(read.exitStatus, 1) << read.out;
        EXPECT_EQ(read.out, "");
        EXPECT_EQ(read.err, "Fehler #404029: Fehlerhafte Antwort vom Gerät\n");
    }
    // Printable characters stay card numbers as the card wrote them.
    answers["#1DNR"] = "\x06#1DNR~\r";
    EXPECT_EQ(ctl({"read"}).out, "Kartennummer: ~\n");
}

TEST_F(CardInput, AWriteTheCardDidNotTakeFailsWithBothNumbers) {
    answers["#1DNW5"] = "\x06";
    answers["#1DNR"] = "\x06#1DNR3\r";
    CtlRun text = ctl({"write", "5", "--yes"});
    EXPECT_EQ(text.exitStatus, 1);
    EXPECT_EQ(text.out, "");
    EXPECT_NE(text.err.find("Fehler #895904: Fehler beim Schreiben in den Gerätespeicher\n"
                            "Die Karte meldet nach dem Schreiben die Nummer 3 statt 5.\n"),
              std::string::npos)
        << text.err;

    CtlRun json = ctl({"write", "5", "--yes", "--json"});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_NE(json.out.find(R"("cardNumber":"5")"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("written":true)"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("readBack":"3")"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("error":895904)"), std::string::npos) << json.out;

    answers["#1DNR"] = "\x06#1DNR5\r";
    CtlRun taken = ctl({"write", "5", "--yes", "--json"});
    EXPECT_EQ(taken.exitStatus, 0) << taken.err;
    EXPECT_NE(taken.out.find(R"("readBack":"5")"), std::string::npos) << taken.out;
}

TEST_F(CardInput, JsonShowsTheStatusWordUnsigned) {
    answers["#1S1R"] = "\x06#1S1RFFFFFFFF\r";
    CtlRun json = ctl({"status", "--json"});
    EXPECT_EQ(json.exitStatus, 0) << json.err;
    EXPECT_NE(json.out.find(R"("status":4294967295,"statusHex":"0xFFFFFFFF")"), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find(R"("invalidCardNumber":true,"parametersIncomplete":true)"),
              std::string::npos)
        << json.out;
}

} // namespace
