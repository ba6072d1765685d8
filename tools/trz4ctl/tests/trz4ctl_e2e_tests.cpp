// trz4ctl end to end: the program runs as a child process against the card simulator, which
// sits on a pseudo-terminal linked into a scratch port map as COM 9.
#include "tools/trz4ctl/tests/trz4ctl_e2e_fixture.h"
#include "trz4version.h"

#include <regex>

namespace {

using namespace trz4ctl_e2e;

TEST_F(Trz4ctl, PortsListsTheMappedSimulatorWithItsDevice) {
    startSim();
    ChildResult text = ctl({"ports"});
    EXPECT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_NE(text.out.find("COM 9 "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find(sim->devicePath()), std::string::npos) << text.out;

    ChildResult result = ctl({"ports", "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    JsonValue object = json(result);
    EXPECT_EQ(object["command"].toString(), "ports");
    EXPECT_EQ(object["portMap"].toString(), (root / "config" / "trz4steuerung" / "ports").string());
    bool listed = false;
    for (const JsonValue &port : object["ports"].toArray()) {
        if (port["com"].toInt() == kCom)
            listed = port["device"].toString() == sim->devicePath();
    }
    EXPECT_TRUE(listed) << result.out;
}

TEST_F(Trz4ctl, NamesFromTheSystemAreShownEscapedAndJsonStaysUtf8) {
    // A port-map entry whose target's name carries a line end that would forge a port line, a
    // terminal's escape sequence and a byte that is no UTF-8.
    const std::string name = "adapter\nCOM 7     fake\x1b]0;x\x07\xff";
    const std::string shown =
        (work / "adapter").string() + "\\x0aCOM 7     fake\\x1b]0;x\\x07\\xff";
    std::ofstream(work / name).put('x');
    const fs::path ports = root / "config" / "trz4steuerung" / "ports";
    fs::create_directories(ports);
    fs::create_symlink(work / name, ports / "com12");

    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"ports"}, {"scan", "--all-ports", "--timeout", "0.1"}}) {
        SCOPED_TRACE(args[0]);
        ChildResult text = ctl(args);
        EXPECT_NE(text.out.find("COM 12    " + shown), std::string::npos) << text.out;
        EXPECT_EQ(text.out.find_first_of("\x1b\x07\xff"), std::string::npos) << text.out;
        EXPECT_EQ(text.out.find("\nCOM 7"), std::string::npos) << text.out;
    }
    ChildResult result = ctl({"ports", "--json"});
    EXPECT_EQ(result.out.find('\xff'), std::string::npos) << "valid UTF-8";
    bool listed = false;
    const JsonValue document = json(result); // the loop below reads into it
    for (const JsonValue &port : document["ports"].toArray())
        listed = listed || port["device"].toString() ==
                               (work / "adapter\nCOM 7     fake\x1b]0;x\x07\xEF\xBF\xBD").string();
    EXPECT_TRUE(listed) << result.out;
}

TEST_F(Trz4ctl, IdAndReadAnswerFromTheCard) {
    SimCard c;
    c.id = "VEK-TRZ4-TEST";
    c.cardNumber = '7';
    startSim(oneCard(c));

    ChildResult id = card({"id"});
    EXPECT_EQ(id.exitStatus, 0) << id.err;
    EXPECT_EQ(id.out, "ID: VEK-TRZ4-TEST\n");
    EXPECT_EQ(id.err, "");
    EXPECT_EQ(json(card({"id", "--json"}))["id"].toString(), "VEK-TRZ4-TEST");

    ChildResult read = card({"read"});
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(read.out, "Kartennummer: 7\n");
    EXPECT_EQ(card({"read", "--lang", "en"}).out, "Card number: 7\n");

    JsonValue object = json(card({"--json", "read"}));
    EXPECT_EQ(object["command"].toString(), "read");
    EXPECT_EQ(object["com"].toInt(), kCom);
    EXPECT_EQ(object["address"].toString(), "1");
    EXPECT_EQ(object["cardNumber"].toString(), "7");
    EXPECT_FALSE(object.contains("error"));
}

TEST_F(Trz4ctl, StatusShowsTheWordInHexAndTheTwoBitsByName) {
    startSim();
    struct Case {
        int word;
        const char *hex;
        bool invalidNumber;
        bool incomplete;
    };
    for (const Case &c : {Case{0x300, "0x300", true, true}, Case{0x100, "0x100", true, false},
                          Case{0x200, "0x200", false, true}, Case{0x0FF, "0xFF", false, false}}) {
        sim->setStatus('1', c.word);
        ChildResult result = card({"status", "--json"});
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        JsonValue object = json(result);
        EXPECT_EQ(object["status"].toInt(), c.word);
        EXPECT_EQ(object["statusHex"].toString(), c.hex);
        EXPECT_EQ(object["invalidCardNumber"].toBool(), c.invalidNumber) << c.hex;
        EXPECT_EQ(object["parametersIncomplete"].toBool(), c.incomplete) << c.hex;
    }
    sim->setStatus('1', 0x100);
    EXPECT_EQ(card({"status"}).out, "Status: 0x100\n"
                                    "Ungültige Kartennummer: ja\n"
                                    "Nicht alle Parameter eingestellt: nein\n");
    sim->setStatus('1', 0x200);
    EXPECT_EQ(card({"status", "--lang", "en"}).out, "Status: 0x200\n"
                                                    "Invalid card number: no\n"
                                                    "Not all parameters set: yes\n");
}

TEST_F(Trz4ctl, ScanTellsACardFromAForeignDeviceAndFromSilence) {
    startSim();
    ChildResult found = card({"scan"});
    EXPECT_EQ(found.exitStatus, 0) << found.err;
    EXPECT_EQ(found.out, "Adresse 1: trz-4-Karte, ID VEK-TRZ4-SIM\n");
    JsonValue object = json(card({"scan", "--json"}));
    EXPECT_EQ(object["cards"].toInt(), 1);
    EXPECT_EQ(object["results"][0]["found"].toString(), "card");

    // The prefix is compared whole, hyphen included.
    SimCard foreign;
    foreign.id = "VEK-TRZ4";
    startSim(oneCard(foreign));
    ChildResult other = card({"scan", "--lang", "en"});
    EXPECT_EQ(other.exitStatus, 0) << other.err;
    EXPECT_EQ(other.out, "Address 1: other device, ID VEK-TRZ4\n");

    // Nothing answering is still a successful scan, as in the program.
    sim->setFault(SimFault::Silence);
    ChildResult silent = card({"scan", "--json"});
    EXPECT_EQ(silent.exitStatus, 0) << silent.err;
    object = json(silent);
    EXPECT_EQ(object["cards"].toInt(), 0);
    EXPECT_EQ(object["results"][0]["found"].toString(), "none");
    EXPECT_EQ(object["results"][0]["error"].toInt(), 403012);
}

TEST_F(Trz4ctl, WriteWithoutYesShowsTheWarningAndSendsNothing) {
    startSim();
    ChildResult refused = card({"write", "5"});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find(kWarningLine), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;

    ChildResult asJson = card({"write", "5", "--json"});
    EXPECT_EQ(asJson.exitStatus, 2);
    EXPECT_FALSE(json(asJson)["written"].toBool());

    EXPECT_TRUE(sim->frames().empty());
    EXPECT_EQ(sim->cardNumber('1'), '1');
}

TEST_F(Trz4ctl, WriteWithYesSetsTheNumberAndReadsItBack) {
    startSim();
    ChildResult result = card({"write", "c", "--yes", "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    JsonValue object = json(result);
    EXPECT_TRUE(object["written"].toBool());
    EXPECT_EQ(object["readBack"].toString(), "c");
    EXPECT_NE(result.err.find(kWarningLine), std::string::npos);
    EXPECT_EQ(sim->cardNumber('1'), 'c');
    EXPECT_EQ(sim->frames(), (std::vector<std::string>{"#1DNWc", "#1DNR"}));
}

TEST_F(Trz4ctl, CardErrorsExitWithOneAndTheCatalogueMessage) {
    startSim();
    sim->setFault(SimFault::Silence);
    ChildResult german = card({"status"});
    EXPECT_EQ(german.exitStatus, 1);
    EXPECT_EQ(german.out, "");
    EXPECT_EQ(german.err, "Fehler #403160: Keine Antwort vom Gerät\n");
    EXPECT_EQ(card({"id", "--lang", "en"}).err, "Error #403012: No answer from device\n");

    ChildResult result = card({"read", "--json"});
    EXPECT_EQ(result.exitStatus, 1);
    JsonValue object = json(result);
    EXPECT_EQ(object["error"].toInt(), 403024);
    EXPECT_EQ(object["message"].toString(), "Keine Antwort vom Gerät");

    sim->setFault(SimFault::Nak);
    ChildResult nak = card({"write", "3", "--yes"});
    EXPECT_EQ(nak.exitStatus, 1);
    EXPECT_NE(nak.err.find("Fehler #402038: Fehlermeldung (NAK) vom Gerät erhalten\n"),
              std::string::npos)
        << nak.err;
}

TEST_F(Trz4ctl, PortProblemsExitWithOneWithTheProgramsNumbers) {
    ChildResult none = ctl({"--com", "0", "read"});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_EQ(none.err, "Fehler #122500: Serielle Schnittstelle ist nicht geöffnet\n");
    EXPECT_EQ(ctl({"--com", "0", "id"}).err.substr(0, 14), "Fehler #122304");
    EXPECT_EQ(ctl({"--com", "0", "scan"}).err.substr(0, 14), "Fehler #122305");

    // Without --com and without a settings file the message says where the number comes from.
    ChildResult unset = ctl({"status"});
    EXPECT_EQ(unset.exitStatus, 1);
    EXPECT_NE(unset.err.find("Fehler #122500"), std::string::npos);
    EXPECT_NE(unset.err.find("trz4Steuerung.ini"), std::string::npos) << unset.err;

    // A port-map entry whose device is gone: the open fails and the reason rides along.
    ASSERT_EQ(ctl({"map", "12", (root / "gone").string()}).exitStatus, 0);
    ChildResult gone = ctl({"--com", "12", "read"});
    EXPECT_EQ(gone.exitStatus, 1);
    EXPECT_EQ(gone.err.substr(0, 15), "Fehler #100003:") << gone.err;
    EXPECT_GT(std::count(gone.err.begin(), gone.err.end(), '\n'), 1) << gone.err;
    EXPECT_EQ(ctl({"--com", "12", "id"}).err.substr(0, 15), "Fehler #122304:");
    JsonValue object = json(ctl({"--com", "12", "status", "--json"}));
    EXPECT_EQ(object["message"].toString(), "Fehler beim öffnen der seriellen Schnittstelle");
    EXPECT_FALSE(object["detail"].toString().empty());
}

TEST_F(Trz4ctl, AddressesFollowTheProgramsRule) {
    startSim();
    // The tool's own site: the program raises 400301 for the same rule in its address ring.
    EXPECT_EQ(card({"--address", "2", "read"}).err, "Fehler #400903: Unzulässige Geräteadresse\n");
    // "&" is stored by the program but refused by every card command.
    ChildResult collective = card({"--address", "&", "read"});
    EXPECT_EQ(collective.exitStatus, 1);
    EXPECT_EQ(collective.err, "Fehler #400016: Unzulässige Geräteadresse\n");
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(Trz4ctl, SettingsFileGivesTheDefaultsAndIsNeverWritten) {
    SimCard c;
    c.cardNumber = '4';
    startSim(oneCard(c));
    const fs::path settings = work / "trz4Steuerung.ini";
    // adresse 305: its lowest byte is 49, the address "1".
    const std::string text = "[com]\ncom = 9\nlcom = 3\nadresse = 305\n";
    std::ofstream(settings) << text;

    ChildResult result = ctl({"read", "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    JsonValue object = json(result);
    EXPECT_EQ(object["com"].toInt(), kCom);
    EXPECT_EQ(object["address"].toString(), "1");
    EXPECT_EQ(object["cardNumber"].toString(), "4");

    EXPECT_EQ(ctl({"--com", "0", "read"}).exitStatus, 1); // the option wins
    EXPECT_EQ(readFileBytes(settings), text);
    EXPECT_EQ(std::distance(fs::directory_iterator(work), fs::directory_iterator()), 1);
}

TEST_F(Trz4ctl, SettingsDirectoryOptionsReadTheFileWhereTheProgramKeepsIt) {
    SimCard c;
    c.cardNumber = '7';
    startSim(oneCard(c));
    const std::string text = "[com]\ncom = 9\nlcom = 0\nadresse = 49\n";
    fs::create_directories(root / "elsewhere");
    std::ofstream(root / "elsewhere" / "trz4Steuerung.ini") << text;
    ChildResult there = ctl({"read", "--json", "--settings-dir", (root / "elsewhere").string()});
    ASSERT_EQ(there.exitStatus, 0) << there.err;
    EXPECT_EQ(json(there)["cardNumber"].toString(), "7");

    // The per-user configuration directory is only read: a missing one is not created, and
    // the message names the file that was looked for.
    const fs::path user = root / "config" / "trz4steuerung";
    ChildResult missing = ctl({"read", "--user-settings"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_NE(missing.err.find((user / "trz4Steuerung.ini").string()), std::string::npos)
        << missing.err;
    EXPECT_FALSE(fs::exists(user / "trz4Steuerung.ini"));
    fs::create_directories(user);
    std::ofstream(user / "trz4Steuerung.ini") << text;
    ChildResult found = ctl({"--user-settings", "read"});
    EXPECT_EQ(found.exitStatus, 0) << found.err;
    EXPECT_EQ(readFileBytes(user / "trz4Steuerung.ini"), text);
    EXPECT_TRUE(fs::is_empty(work));
}

TEST_F(Trz4ctl, WrongUsageExitsWithTwoAndSendsNothing) {
    startSim();
    std::vector<std::vector<std::string>> cases = {
        {"--com", "257", "read"}, {"--com", "9x", "read"}, {"--timeout", "abc", "read"},
        {"--lang", "xx", "read"}, {"--json=yes", "read"},  {"write", "5", "6", "--yes"},
        {"unmap", " 5"},
    };
    cases.insert(cases.end(), kWrongUsage.begin(), kWrongUsage.end());
    for (const std::vector<std::string> &args : cases) {
        std::vector<std::string> withCom = {"--com", "9"};
        withCom.insert(withCom.end(), args.begin(), args.end());
        ChildResult result = ctl(withCom);
        std::string shown;
        for (const std::string &arg : withCom)
            shown += arg + " ";
        EXPECT_EQ(result.exitStatus, 2) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_NE(result.err, "") << shown;
    }
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(Trz4ctl, HelpIsGermanWithExamplesForTheToolAndEachCommand) {
    ChildResult tool = ctl({"--help"});
    EXPECT_EQ(tool.exitStatus, 0);
    EXPECT_NE(tool.out.find("Aufruf: trz4ctl"), std::string::npos);
    EXPECT_NE(tool.out.find("Beispiele:"), std::string::npos);
    for (const char *command : {"ports", "id", "scan", "status", "read", "write", "map", "unmap"}) {
        ChildResult help = ctl({command, "--help"});
        EXPECT_EQ(help.exitStatus, 0) << command;
        EXPECT_EQ(help.out.find(std::string("Aufruf: trz4ctl ") + command), 0u) << command;
        EXPECT_NE(help.out.find("Beispiel"), std::string::npos) << command;
        EXPECT_EQ(ctl({"help", command}).out, help.out) << command;
    }
}

// The release comes from the build ("<program> <version>", as help2man reads it); with a
// command the version still answers alone and nothing reaches the card.
TEST_F(Trz4ctl, VersionNamesTheBuildsReleaseAndSendsNothing) {
    EXPECT_TRUE(std::regex_match(kTrz4Version, std::regex("[0-9]+(\\.[0-9]+)+"))) << kTrz4Version;
    startSim();
    ChildResult version = ctl({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("trz4ctl ") + kTrz4Version + "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(card({"read", "--version"}).out, version.out);
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(Trz4ctl, MapAndUnmapManageThePortMap) {
    const fs::path ports = root / "config" / "trz4steuerung" / "ports";
    ChildResult mapped = ctl({"map", "12", "/dev/null"});
    EXPECT_EQ(mapped.exitStatus, 0) << mapped.err;
    EXPECT_EQ(mapped.out, "com12 -> /dev/null\n");
    EXPECT_EQ(fs::read_symlink(ports / "com12"), "/dev/null");

    // A relative device is taken from the current directory, not from the port map's.
    ChildResult relative = ctl({"map", "12", "adapter"});
    EXPECT_EQ(relative.exitStatus, 0) << relative.err;
    EXPECT_EQ(fs::read_symlink(ports / "com12"), work / "adapter");
    EXPECT_NE(relative.err.find("Hinweis"), std::string::npos); // it does not exist yet

    ChildResult removed = ctl({"unmap", "12", "--json"});
    EXPECT_EQ(removed.exitStatus, 0) << removed.err;
    EXPECT_TRUE(json(removed)["removed"].toBool());
    EXPECT_FALSE(fs::is_symlink(ports / "com12"));
    ChildResult again = ctl({"unmap", "12", "--json"});
    EXPECT_EQ(again.exitStatus, 0);
    EXPECT_FALSE(json(again)["removed"].toBool());

    // A port map that cannot be created: its parent is a plain file.
    std::ofstream(root / "plain") << "x";
    setenv("XDG_CONFIG_HOME", (root / "plain").c_str(), 1);
    ChildResult blocked = ctl({"map", "12", "/dev/null", "--json"});
    EXPECT_EQ(blocked.exitStatus, 1);
    EXPECT_EQ(json(blocked)["error"].toInt(), 305901);
}

} // namespace
