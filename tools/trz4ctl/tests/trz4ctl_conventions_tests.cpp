// trz4ctl as a Linux tool: its language from the locale, every text through the lookup, the
// link log on stderr, the port list that follows plugging, and the bash completion.
#include "tools/trz4ctl/tests/trz4ctl_e2e_fixture.h"

#include "text/testing/pseudo_check.h"
#include "tools/trz4ctl/trz4ctl.h"

#include <csignal>
#include <set>

namespace {

using namespace trz4ctl_e2e;

const std::vector<std::string> kEnglishLocale = {"LANG=C.UTF-8", "LC_ALL", "LC_MESSAGES"};

std::string shown(const std::vector<std::string> &args) {
    std::string text = "trz4ctl";
    for (const std::string &arg : args)
        text += " " + arg;
    return text;
}

TEST_F(Trz4ctl, TheLocaleChoosesTheLanguageUnlessLangSaysOtherwise) {
    SimCard c;
    c.cardNumber = '7';
    startSim(oneCard(c));
    struct Case {
        std::vector<std::string> environment;
        std::vector<std::string> extra;
        const char *expected;
    };
    const Case cases[] = {
        {{"LANG=de_DE.UTF-8", "LC_ALL", "LC_MESSAGES"}, {}, "Kartennummer: 7\n"},
        {{"LANG=en_US.UTF-8", "LC_ALL", "LC_MESSAGES"}, {}, "Card number: 7\n"},
        {{"LANG", "LC_ALL", "LC_MESSAGES"}, {}, "Card number: 7\n"},
        {{"LANG=C.UTF-8", "LC_ALL=de_AT.UTF-8", "LC_MESSAGES"}, {}, "Kartennummer: 7\n"},
        {{"LANG=de_DE.UTF-8", "LC_ALL", "LC_MESSAGES=en_GB.UTF-8"}, {}, "Card number: 7\n"},
        {{"LANG=en_US.UTF-8", "LC_ALL", "LC_MESSAGES"}, {"--lang", "de"}, "Kartennummer: 7\n"},
        {{"LANG=de_DE.UTF-8", "LC_ALL", "LC_MESSAGES"}, {"--lang=en"}, "Card number: 7\n"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = {"--com", "9", "read"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        ChildResult result = ctl(args, c.environment);
        EXPECT_EQ(result.out, c.expected) << c.environment[0] << " " << shown(args);
    }
    // A mistake before --lang on the line is reported in the language asked for.
    ChildResult usage = ctl({"--com", "x", "read", "--lang", "en"}, {"LANG=de_DE.UTF-8"});
    EXPECT_EQ(usage.err, "trz4ctl: --com expects a COM number from 1 to 256 (0: none), not \"x\"\n"
                         "Help: trz4ctl --help\n");
}

// Under the pseudo-language every text the tool prints has gone through the lookup: help,
// usage errors, the warning, card and port errors with their details, the trace's words. What
// may stay plain is data: the tool's name, the arguments it echoes, port names, device and file
// names, the card's bytes and answers. JSON output is data too; its messages are checked on
// stderr, where the same runs print them.
TEST_F(Trz4ctl, UnderThePseudoLanguageEveryTextGoesThroughTheLookup) {
    startSim();
    const std::string gone = (root / "gone").string();
    ASSERT_EQ(ctl({"map", "12", gone}).exitStatus, 0);
    std::vector<std::vector<std::string>> runs = {
        // Help and usage.
        {"--help"},
        {"help"},
        {"ports", "--help"},
        {"id", "--help"},
        {"scan", "--help"},
        {"status", "--help"},
        {"read", "--help"},
        {"write", "--help"},
        {"map", "--help"},
        {"unmap", "--help"},
        {"--com", "x", "read"},
        {"--json=1", "read"},
        {"--watch", "read"},
        {"--all-ports", "read"},
        {"scan", "--all-ports", "--com", "9"},
        {"--settings-dir", "d", "--user-settings", "read"},
        // The card, the warning, a card error, and the trace.
        {"--com", "9", "--timeout", "0.1", "id", "--trace"},
        {"--com", "9", "--timeout", "0.1", "scan"},
        {"--com", "9", "--timeout", "0.1", "status"},
        {"--com", "9", "--timeout", "0.1", "read"},
        {"--com", "9", "--timeout", "0.1", "write", "5"},
        {"--com", "9", "--timeout", "0.1", "write", "5", "--yes"},
        {"--com", "9", "--timeout", "0.1", "--address", "2", "read", "--trace"},
        // A port that cannot be opened: the catalogue's message and the layer's reason.
        {"--com", "12", "read"},
        {"--com", "12", "read", "--trace"},
        {"--com", "12", "id"},
        {"--com", "12", "status", "--json"},
        {"--com", "0", "scan"},
        {"status"},
        // Ports and the port map.
        {"ports"},
        {"map", "13", "nowhere"},
        {"unmap", "13"},
        {"unmap", "14"},
    };
    std::vector<std::string> data = {"trz4ctl",
                                     "COM",
                                     root.string(),
                                     sim->devicePath(),
                                     "VEK-TRZ4-SIM",
                                     "<CR>",
                                     "ACK",
                                     "NAK",
                                     "IDR",
                                     "DNR",
                                     "DNW5",
                                     "S1R",
                                     "trz4Steuerung.ini",
                                     "com12",
                                     "com13",
                                     "com14"};
    data.insert(data.end(), std::begin(kCtlOptions), std::end(kCtlOptions));
    runs.insert(runs.end(), kWrongUsage.begin(), kWrongUsage.end());
    for (const std::vector<std::string> &args : runs) {
        std::vector<std::string> plain = data;
        plain.insert(plain.end(), args.begin(), args.end());
        std::vector<std::string> withLang = args;
        withLang.insert(withLang.begin(), {"--lang", "qps"});
        const ChildResult result = ctl(withLang, {"LANG=de_DE.UTF-8"});
        const bool json = std::find(args.begin(), args.end(), "--json") != args.end();
        EXPECT_EQ(wordsBypassingTheLookup((json ? "" : result.out) + result.err, plain),
                  std::vector<std::string>{})
            << shown(withLang) << "\n"
            << result.out << result.err;
    }
    // The check itself finds the texts of the same runs in German.
    ChildResult german = ctl({"--com", "12", "read"}, {"LANG=de_DE.UTF-8"});
    EXPECT_NE(wordsBypassingTheLookup(german.err, data), std::vector<std::string>{});
    EXPECT_NE(wordsBypassingTheLookup(ctl({"--help"}).out, data), std::vector<std::string>{});
}

TEST_F(Trz4ctl, TraceWritesEachExchangeToStderr) {
    startSim();
    ChildResult id = card({"id", "--trace"});
    EXPECT_EQ(id.exitStatus, 0) << id.err;
    EXPECT_EQ(id.out, "ID: VEK-TRZ4-SIM\n");
    EXPECT_NE(id.err.find("  COM 9  ->  #1IDR<CR>\n"), std::string::npos) << id.err;
    EXPECT_NE(id.err.find("  COM 9  <-  <06>#1VEK-TRZ4-SIM<CR>  ACK\n"), std::string::npos)
        << id.err;
    EXPECT_EQ(std::count(id.err.begin(), id.err.end(), '\n'), 2) << id.err;

    // write sends two commands: the write and the read-back.
    ChildResult write = card({"write", "4", "--yes", "--trace", "--lang", "en"});
    EXPECT_EQ(write.exitStatus, 0) << write.err;
    EXPECT_NE(write.err.find("->  #1DNW4<CR>\n"), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("->  #1DNR<CR>\n"), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("<-  <06>#1DNR4<CR>  ACK\n"), std::string::npos) << write.err;

    sim->setFault(SimFault::Silence);
    ChildResult silent = card({"status", "--trace", "--lang", "en"});
    EXPECT_EQ(silent.exitStatus, 1);
    EXPECT_NE(silent.err.find("<-    time-out after 100 ms, error #403160\n"), std::string::npos)
        << silent.err;

    // Without --trace nothing of it shows.
    EXPECT_EQ(card({"status", "--lang", "en"}).err, "Error #403160: No answer from device\n");
}

TEST_F(Trz4ctl, PortsWatchPrintsPortsAsTheyComeAndGo) {
    // JSON: the list first (one object), then one object per change.
    {
        ChildProcess watch(TRZ4CTL_PATH, {"ports", "--watch", "--json"}, work.string(),
                           kEnglishLocale);
        ASSERT_GT(watch.pid(), 0);
        ASSERT_TRUE(watch.waitForOutput("\"ports\":", 10)) << watch.outSoFar();
        startSim();
        ASSERT_TRUE(watch.waitForOutput("\"event\":\"added\",\"com\":9", 10)) << watch.outSoFar();
        EXPECT_NE(watch.outSoFar().find("\"device\":\"" + sim->devicePath() + "\""),
                  std::string::npos);
        sim.reset();
        ASSERT_TRUE(watch.waitForOutput("\"event\":\"removed\",\"com\":9", 10)) << watch.outSoFar();
        ASSERT_TRUE(watch.signal(SIGINT));
        ChildResult ended = watch.finish(10);
        EXPECT_EQ(ended.termSignal, SIGINT) << "runs until interrupted";
        std::istringstream lines(ended.out);
        std::string line;
        while (std::getline(lines, line)) {
            JsonValue value;
            std::string error;
            EXPECT_TRUE(JsonValue::parse(line, &value, &error)) << error << ": " << line;
        }
    }
    // Text: a port present at the start is listed, then its going and coming back.
    startSim();
    ChildProcess watch(TRZ4CTL_PATH, {"ports", "--watch"}, work.string(), kEnglishLocale);
    ASSERT_TRUE(watch.waitForOutput("COM 9     " + sim->devicePath() + "\n", 10))
        << watch.outSoFar();
    const std::string first = sim->devicePath();
    sim.reset();
    ASSERT_TRUE(watch.waitForOutput("- COM 9     " + first + "\n", 10)) << watch.outSoFar();
    startSim();
    ASSERT_TRUE(watch.waitForOutput("+ COM 9     " + sim->devicePath() + "\n", 10))
        << watch.outSoFar();
    watch.signal(SIGTERM);
    EXPECT_EQ(watch.finish(10).termSignal, SIGTERM);
}

// Runs the completion function as bash would for the words given (the last one is being
// completed) and answers the offered words, sorted.
std::set<std::string> complete(const std::vector<std::string> &words) {
    std::string script = "source '" TRZ4CTL_COMPLETION "'\nCOMP_WORDS=('" TRZ4CTL_PATH "'";
    for (const std::string &word : words)
        script += " '" + word + "'";
    script += ")\nCOMP_CWORD=" + std::to_string(words.size()) +
              "\n_trz4ctl\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
    ChildResult result = runChild("/bin/bash", {"-c", script}, "/", 20.0, kEnglishLocale);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    std::set<std::string> offered;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            offered.insert(line);
    return offered;
}

TEST_F(Trz4ctl, BashCompletionOffersTheToolsCommandsAndOptions) {
    // Everything the tool takes, nothing it does not.
    const std::set<std::string> commands(std::begin(kCtlCommands), std::end(kCtlCommands));
    const std::set<std::string> options(std::begin(kCtlOptions), std::end(kCtlOptions));
    EXPECT_EQ(complete({""}), commands);
    EXPECT_EQ(complete({"-"}), options);

    EXPECT_EQ(complete({"sc"}), (std::set<std::string>{"scan"}));
    EXPECT_EQ(complete({"scan", "--a"}), (std::set<std::string>{"--address", "--all-ports"}));
    EXPECT_EQ(complete({"ports", "--w"}), (std::set<std::string>{"--watch"}));
    EXPECT_EQ(complete({"read", "--w"}), (std::set<std::string>{}));
    EXPECT_EQ(complete({"--lang", ""}), (std::set<std::string>{"de", "en"}));
    EXPECT_EQ(complete({"write", "--yes", ""}).size(), 15u);
    EXPECT_EQ(complete({"help", "wr"}), (std::set<std::string>{"write"}));

    // COM numbers come from the tool's own port list.
    startSim();
    EXPECT_EQ(complete({"--com", "9"}).count("9"), 1u);
    EXPECT_EQ(complete({"--timeout", "0.5", "--com", ""}).count("9"), 1u);
}

} // namespace
