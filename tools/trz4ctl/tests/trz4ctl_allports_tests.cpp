// scan --all-ports in-process: two simulated cards, a foreign device, a port another program
// holds and one that is no serial port, over scratch device and port-map roots.
#include "text/testing/pseudo_check.h"
#include "tools/trz4ctl/tests/json_reader.h"
#include "tools/trz4ctl/trz4ctl.h"

#include "platform/comports.h"
#include "platform/tests/scratch_dir.h"
#include "tools/sim/trz4sim_engine.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct CtlRun {
    int exitStatus;
    std::string out;
    std::string err;
    double seconds;
};

class AllPorts : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root / "dev");
        fs::create_directories(root / "sys");
        setComPortRoots(
            {(root / "dev").string(), (root / "sys").string(), (root / "ports").string()});
        addCard(9, "VEK-TRZ4-A", false);
        addCard(10, "VEK-TRZ4-B", false);
        addCard(11, "VEK-TRZ4-HELD", false);
        addCard(12, "FREMD-1", true);
        // COM 33 by the fixed rule, but no tty: it cannot be opened.
        std::ofstream(root / "dev" / "ttyUSB0") << "";
        // Another program holds COM 11 the way this layer does: an exclusive lock.
        holder = open(sims[2]->devicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    }
    void TearDown() override {
        if (holder >= 0)
            close(holder);
        sims.clear();
        setComPortRoots({});
    }

    void addCard(int com, const std::string &id, bool foreign) {
        SimOptions options;
        SimCard card;
        card.id = id;
        card.foreign = foreign;
        options.cards = {card};
        options.com = com;
        sims.push_back(std::make_unique<CardSimulator>(options));
        ASSERT_EQ(sims.back()->start(), 0);
    }

    static CtlRun ctl(const std::vector<std::string> &args) {
        std::ostringstream out, err;
        const auto start = std::chrono::steady_clock::now();
        const int status = runTrz4ctl(args, out, err);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return {status, out.str(), err.str(), seconds};
    }

    std::string pts(size_t i) const { return sims[i]->devicePath(); }

    ScratchDir scratch{"trz4ctl_allports_"};
    const fs::path root{scratch.path()};
    std::vector<std::unique_ptr<CardSimulator>> sims;
    int holder = -1;
};

TEST_F(AllPorts, EveryPortIsAskedAndABusyOneIsSkippedWithoutWaiting) {
    // A long time-out: a port that was waited on would show in the time taken.
    CtlRun run = ctl({"scan", "--all-ports", "--timeout", "3", "--lang", "en"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_LT(run.seconds, 2.5);
    const std::string usb = (root / "dev" / "ttyUSB0").string();
    const std::string expectedStart = "COM 9     " + pts(0) + "  trz-4 card, ID VEK-TRZ4-A\n" +
                                      "COM 10    " + pts(1) + "  trz-4 card, ID VEK-TRZ4-B\n" +
                                      "COM 11    " + pts(2) + "  busy (skipped)\n" + "COM 12    " +
                                      pts(3) + "  other device, ID FREMD-1\n" + "COM 33    " + usb +
                                      "  cannot be opened: ";
    EXPECT_EQ(run.out.substr(0, expectedStart.size()), expectedStart) << run.out;
    EXPECT_NE(run.out.find("\ntrz-4 cards found: 2\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(sims[2]->frames().empty()) << "nothing was sent to the busy port";
    EXPECT_EQ(sims[0]->frames(), std::vector<std::string>{"#1IDR"});

    CtlRun german = ctl({"scan", "--all-ports", "--timeout", "3", "--lang", "de"});
    EXPECT_NE(german.out.find(pts(2) + "  belegt (übersprungen)\n"), std::string::npos)
        << german.out;
    EXPECT_NE(german.out.find("  trz-4-Karte, ID VEK-TRZ4-A\n"), std::string::npos);

    // Every finding's words go through the lookup, the reason of the port that cannot be
    // opened among them; port and device names, the cards' answers and the system's own words
    // (the file at COM 33 is no terminal) stay as they are.
    CtlRun pseudo = ctl({"scan", "--all-ports", "--timeout", "3", "--lang", "qps"});
    EXPECT_EQ(wordsBypassingTheLookup(pseudo.out, {"COM", "VEK-TRZ4-A", "VEK-TRZ4-B", "FREMD-1",
                                                   std::strerror(ENOTTY)}),
              std::vector<std::string>{})
        << pseudo.out;
}

TEST_F(AllPorts, JsonNamesEachFindingAndTraceShowsOnlyThePortsAsked) {
    CtlRun run =
        ctl({"scan", "--all-ports", "--timeout", "3", "--json", "--trace", "--lang", "en"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    JsonValue object;
    std::string error;
    ASSERT_TRUE(JsonValue::parse(run.out, &object, &error)) << error << run.out;
    EXPECT_TRUE(object["allPorts"].toBool());
    EXPECT_EQ(object["cards"].toInt(), 2);
    const std::vector<JsonValue> results = object["results"].toArray();
    ASSERT_EQ(results.size(), 5u) << run.out;
    const char *found[] = {"card", "card", "busy", "foreign", "unavailable"};
    const int coms[] = {9, 10, 11, 12, 33};
    for (size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i]["com"].toInt(), coms[i]);
        EXPECT_EQ(results[i]["found"].toString(), found[i]) << coms[i];
    }
    EXPECT_EQ(results[0]["id"].toString(), "VEK-TRZ4-A");
    EXPECT_EQ(results[2]["detail"].toString(),
              (root / "ports" / "com11").string() + " is busy: another program is using the port.");
    EXPECT_FALSE(results[4]["detail"].toString().empty());

    EXPECT_NE(run.err.find("COM 9  ->  #1IDR<CR>"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("COM 12  <-  <06>#1FREMD-1<CR>  ACK"), std::string::npos) << run.err;
    // The busy port shows its failed open, and nothing sent to it.
    EXPECT_EQ(run.err.find("COM 11  ->"), std::string::npos) << run.err;
}

TEST_F(AllPorts, AllPortsIsForScanAloneAndTakesNoPort) {
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"read", "--all-ports"},
          std::vector<std::string>{"scan", "--all-ports", "--com", "9"},
          std::vector<std::string>{"scan", "--all-ports", "--address", "1"},
          std::vector<std::string>{"ports", "--all-ports"}}) {
        CtlRun run = ctl(args);
        EXPECT_EQ(run.exitStatus, 2) << args[0];
        EXPECT_EQ(run.out, "");
    }
    for (const auto &sim : sims)
        EXPECT_TRUE(sim->frames().empty());
}

} // namespace
