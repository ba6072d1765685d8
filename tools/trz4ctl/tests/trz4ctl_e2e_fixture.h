// trz4ctl end to end: the program runs as a child process against the card simulator, which
// sits on a pseudo-terminal linked into a scratch port map as COM 9.
#pragma once

#include "tools/trz4ctl/tests/json_reader.h"
#include "tools/trz4ctl/tests/run_child.h"

#include "platform/tests/scratch_dir.h"
#include "tools/sim/trz4sim_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace trz4ctl_e2e {

namespace fs = std::filesystem;

inline constexpr int kCom = 9;
inline const std::string kWarningLine =
    "WICHTIG: JEDE KARTENNUMMER DARF IM QDN-7K-SYSTEM NUR EINMAL VORKOMMEN!";

// Command lines that are wrong usage, one of each kind the tool refuses before it touches a port:
// no command or an unknown one, an unknown option, an option without its value or with one out
// of range, too many or too few arguments, a bad argument.
inline const std::vector<std::vector<std::string>> kWrongUsage = {
    {},
    {"frobnicate"},
    {"nosuch", "--help"},
    {"--bogus", "read"},
    {"--com"},
    {"--timeout", "0", "read"},
    {"--address", "12", "read"},
    {"read", "extra"},
    {"write"},
    {"write", "g", "--yes"},
    {"map", "9"},
    {"map", "0", "/dev/null"},
    {"unmap", "x"},
};

class Trz4ctl : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(work);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        // The tool speaks the locale's language; these cases read its German.
        setenv("LANG", "de_DE.UTF-8", 1);
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
    }
    void TearDown() override { sim.reset(); }

    void startSim(SimOptions options = {}) {
        sim.reset();
        options.com = kCom;
        sim = std::make_unique<CardSimulator>(options);
        ASSERT_EQ(sim->start(), 0);
    }
    static SimOptions oneCard(SimCard card) {
        SimOptions options;
        options.cards = {card};
        return options;
    }

    // `environment` changes the child's environment as runChild does ("NAME=value", "NAME").
    ChildResult ctl(const std::vector<std::string> &args,
                    const std::vector<std::string> &environment = {}) {
        return runChild(TRZ4CTL_PATH, args, work.string(), 20.0, environment);
    }
    // A card command on COM 9 with a short time-out, so silent cases stay fast.
    ChildResult card(std::vector<std::string> args) {
        args.insert(args.begin(), {"--com", std::to_string(kCom), "--timeout", "0.1"});
        return ctl(args);
    }

    // The one JSON object a --json run prints on one line.
    static JsonValue json(const ChildResult &result) {
        EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1) << result.out;
        JsonValue value;
        std::string error;
        EXPECT_TRUE(JsonValue::parse(result.out, &value, &error)) << error << "\n" << result.out;
        EXPECT_EQ(value.type(), JsonValue::Type::Object) << result.out;
        return value;
    }

    ScratchDir scratch{"trz4ctl-"};
    const fs::path root{scratch.path()};
    const fs::path work{root / "work"};
    std::unique_ptr<CardSimulator> sim;
};

} // namespace trz4ctl_e2e
