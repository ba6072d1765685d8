// scripts/demo with the real simulator and a stand-in for the program that records what it
// was given: the scratch settings file preset to COM 9 and address 1, the simulator's port
// map entry, and that the operator's own settings and port map are left alone.
#include "platform/tests/scratch_dir.h"
#include "tools/trz4ctl/tests/run_child.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr const char *kDemo = TRZ4_DEMO_SCRIPT;
constexpr const char *kOwnSettings = "[com]\ncom = 3\nlcom = 3\nadresse = 38\n";

// The i-th line of text, empty when there is none.
std::string line(const std::string &text, int i) {
    std::istringstream in(text);
    std::string current;
    for (int n = 0; std::getline(in, current); ++n) {
        if (n == i)
            return current;
    }
    return {};
}

class DemoScript : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *sub : {"checkout", "config/trz4steuerung/ports", "record"})
            fs::create_directories(base / sub);
        std::ofstream(base / "checkout/trz4Steuerung.ini") << kOwnSettings;
        std::ofstream(base / "config/trz4steuerung/trz4Steuerung.ini") << kOwnSettings;
        fs::create_symlink("/dev/null", base / "config/trz4steuerung/ports/com9");

        // The stand-in notes its arguments, its configuration directory, the settings file
        // it was pointed to and where COM 9 leads, then writes the settings file as the
        // program does at its end and exits with 7.
        program = base / "program";
        std::ofstream(program) << "#!/bin/sh\n"
                                  "r='"
                               << (base / "record").string()
                               << "'\n"
                                  "printf '%s\\n' \"$@\" > \"$r/args\"\n"
                                  "printf '%s\\n' \"$XDG_CONFIG_HOME\" > \"$r/config\"\n"
                                  "cp \"$2/trz4Steuerung.ini\" \"$r/settings\"\n"
                                  "readlink \"$XDG_CONFIG_HOME/trz4steuerung/ports/com9\" "
                                  "> \"$r/link\"\n"
                                  "printf '[com]\\ncom = 5\\n' > \"$2/trz4Steuerung.ini\"\n"
                                  "exit 7\n";
        fs::permissions(program, fs::perms::owner_all);
    }
    ChildResult runDemo(const std::string &simulator) {
        return ChildProcess(kDemo, {program.string(), simulator, "-style", "Fusion"},
                            (base / "checkout").string(),
                            {"XDG_CONFIG_HOME=" + (base / "config").string(),
                             "HOME=" + (base / "home").string()})
            .finish(30.0);
    }

    std::string record(const char *name) const { return readFileBytes(base / "record" / name); }

    // The operator's settings file, settings in the configuration directory and port map are
    // as the test made them.
    void expectOwnSettingsUntouched() const {
        EXPECT_EQ(readFileBytes(base / "checkout/trz4Steuerung.ini"), kOwnSettings);
        EXPECT_EQ(readFileBytes(base / "config/trz4steuerung/trz4Steuerung.ini"), kOwnSettings);
        EXPECT_EQ(fs::read_symlink(base / "config/trz4steuerung/ports/com9"), "/dev/null");
        EXPECT_EQ(
            std::distance(fs::directory_iterator(base / "checkout"), fs::directory_iterator()), 1);
    }

    ScratchDir scratch{"trz4-demo-"};
    const fs::path base{scratch.path()};
    fs::path program;
};

TEST_F(DemoScript, StartsTheProgramOnScratchSettingsPresetToTheSimulatedCard) {
    ChildResult result = runDemo(TRZ4SIM_PATH);
    EXPECT_EQ(result.exitStatus, 7) << "the program's status\n" << result.err;
    EXPECT_NE(result.out.find("COM 9"), std::string::npos) << result.out;

    // --settings-dir names a scratch directory, the program's own options follow.
    const std::string args = record("args");
    EXPECT_EQ(line(args, 0), "--settings-dir");
    const fs::path settingsDir = line(args, 1);
    EXPECT_EQ(line(args, 2), "-style");
    EXPECT_EQ(line(args, 3), "Fusion");
    EXPECT_EQ(record("settings"), "[com]\ncom = 9\nlcom = 9\nadresse = 49\n");
    EXPECT_NE(settingsDir, base / "checkout");

    // COM 9 leads to the simulator's pseudo-terminal in a port map of the demo's own.
    const fs::path config = line(record("config"), 0);
    EXPECT_NE(config, base / "config");
    EXPECT_EQ(record("link").rfind("/dev/pts/", 0), 0u) << record("link");

    // Afterwards the scratch is gone (the simulator with it) and nothing of the operator's
    // changed, although the program wrote its settings file.
    EXPECT_FALSE(fs::exists(settingsDir)) << settingsDir;
    EXPECT_FALSE(fs::exists(config)) << config;
    expectOwnSettingsUntouched();
}

TEST_F(DemoScript, ASimulatorThatDoesNotComeUpEndsTheDemoBeforeTheProgram) {
    ChildResult result = runDemo("/bin/false");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("The card simulator did not start."), std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(base / "record/args")) << "the program was started";
    expectOwnSettingsUntouched();
}

} // namespace
