// The program as a child process on the offscreen platform: ended from outside (SIGTERM,
// SIGHUP, SIGINT) as "Beenden" ends it, its command line, and where its settings file lives.
#include "app/commandline.h"
#include "platform/tests/scratch_dir.h"
#include "text/testing/pseudo_check.h"
#include "tools/trz4ctl/tests/run_child.h"
#include "trz4version.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Whether text holds part, with both shown on failure.
::testing::AssertionResult contains(const std::string &text, const std::string &part) {
    if (text.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" lacks \"" << part << "\"";
}

constexpr const char *kProgram = TRZ4STEUERUNG_PATH;
constexpr const char *kIniFile = "trz4Steuerung.ini";
// A complete settings file with the address "&" (38) and a section written by hand: after a
// run that wrote the file, the address is still there and the hand-written section is gone.
constexpr const char *kStoredSettings =
    "[com]\ncom = 0\nlcom = 0\nadresse = 38\n[hand]\nnotiz = 1\n";

// True when the file was written by the program from the stored settings.
void expectRewritten(const fs::path &file) {
    const std::string text = readFileBytes(file);
    EXPECT_TRUE(contains(text, "adresse = 38")) << file;
    EXPECT_FALSE(contains(text, "notiz")) << file;
}

std::string procStatusField(pid_t pid, const std::string &field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field + ":", 0) == 0)
            return line.substr(field.size() + 1);
    }
    return {};
}

// Waits until the child handles SIGTERM, SIGHUP and SIGINT itself, then until it sleeps (its
// event loop or a popup waits) on a few looks in a row. A signal sent earlier would hit the
// default action; one sent later than the sleep finds any state of the run, which must end
// the same way.
bool waitUntilWatching(pid_t pid) {
    const unsigned long wanted =
        (1UL << (SIGTERM - 1)) | (1UL << (SIGHUP - 1)) | (1UL << (SIGINT - 1));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string caught = procStatusField(pid, "SigCgt");
        if (!caught.empty() && (std::stoul(caught, nullptr, 16) & wanted) == wanted)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    int sleeping = 0;
    while (std::chrono::steady_clock::now() < deadline && sleeping < 5) {
        sleeping = procStatusField(pid, "State").find('S') != std::string::npos ? sleeping + 1 : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::string caught = procStatusField(pid, "SigCgt");
    return !caught.empty() && (std::stoul(caught, nullptr, 16) & wanted) == wanted;
}

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *sub : {"run", "home", "config", "dev", "elsewhere"})
            fs::create_directory(base / sub);
    }

    // The program's environment: offscreen, English system messages (and so the program's
    // English unless a test asks for German with --lang de), and a scratch home and
    // configuration directory with an empty port map.
    std::vector<std::string> environment() const {
        return {"QT_QPA_PLATFORM=offscreen", "LC_ALL=C", "LANGUAGE",
                "HOME=" + (base / "home").string(),
                "XDG_CONFIG_HOME=" + (base / "config").string()};
    }

    std::unique_ptr<ChildProcess> start(const std::vector<std::string> &args,
                                        std::vector<std::string> env = {}) {
        std::vector<std::string> all = environment();
        all.insert(all.end(), env.begin(), env.end());
        return std::make_unique<ChildProcess>(kProgram, args, (base / "run").string(), all);
    }

    // Starts the program, ends it from outside with `signal` once it is up, and collects.
    ChildResult endWith(int signal, const std::vector<std::string> &args = {},
                        std::vector<std::string> env = {}) {
        auto child = start(args, std::move(env));
        EXPECT_GT(child->pid(), 0);
        EXPECT_TRUE(waitUntilWatching(child->pid())) << "the program does not watch signals";
        child->signal(signal);
        return child->finish();
    }

    ScratchDir scratch{"trz4-lifecycle-"};
    const fs::path base{scratch.path()};
};

TEST_F(Lifecycle, TermHupAndIntEndTheRunWithTheSettingsWrittenAndStatusZero) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        std::ofstream(base / "run" / kIniFile) << kStoredSettings;
        ChildResult result = endWith(signal);
        EXPECT_EQ(result.termSignal, 0);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        expectRewritten(base / "run" / kIniFile);
    }
}

TEST_F(Lifecycle, SignalWhileTheStartUpPopupWaitsEndsTheRunAndKeepsItsMessage) {
    // No settings file: start-up shows "INI-Datei nicht gefunden" and waits for the operator.
    ChildResult result = endWith(SIGTERM, {"--lang", "de"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(contains(result.err, "Fehler #802201: INI-Datei nicht gefunden\n"));
    EXPECT_TRUE(contains(readFileBytes(base / "run" / kIniFile), "adresse = 49"));
}

TEST_F(Lifecycle, RepeatedSignalsWhileEndingAreTakenAsOne) {
    std::ofstream(base / "run" / kIniFile) << kStoredSettings;
    auto child = start({});
    ASSERT_TRUE(waitUntilWatching(child->pid()));
    for (int signal : {SIGINT, SIGINT, SIGTERM, SIGHUP, SIGINT})
        child->signal(signal);
    ChildResult result = child->finish();
    EXPECT_EQ(result.termSignal, 0);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    expectRewritten(base / "run" / kIniFile);
    // Nothing half-written is left beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(base / "run"), fs::directory_iterator()), 1);
}

// The fault: a failed save ended with status 0, which the help promises only for saved settings.
TEST_F(Lifecycle, FailedSaveWhileEndedFromOutsideIsReportedOnStderrAndInTheStatus) {
    // A directory where the file should be: reading and writing both fail, whoever runs this.
    fs::create_directory(base / "elsewhere" / kIniFile);
    ChildResult result =
        endWith(SIGTERM, {"--settings-dir", (base / "elsewhere").string(), "--lang", "de"});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_TRUE(contains(result.err, "Fehler #801202: "));
    EXPECT_TRUE(contains(result.err, "Fehler #800203: Fehler beim schreiben in die INI-Datei\n" +
                                         (base / "elsewhere" / kIniFile).string() +
                                         ": keine gewöhnliche Datei\n"));
}

TEST_F(Lifecycle, SettingsDirOptionKeepsTheFileThereAndNotInTheCurrentDirectory) {
    std::ofstream(base / "elsewhere" / kIniFile) << kStoredSettings;
    ChildResult result = endWith(SIGTERM, {"--settings-dir", (base / "elsewhere").string()});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_FALSE(contains(result.err, "Fehler #"));
    expectRewritten(base / "elsewhere" / kIniFile);
    EXPECT_FALSE(fs::exists(base / "run" / kIniFile));

    // A relative directory is taken from the current directory, in the "=" spelling too.
    fs::create_directory(base / "run" / "sub");
    std::ofstream(base / "run" / "sub" / kIniFile) << kStoredSettings;
    result = endWith(SIGTERM, {"--settings-dir=sub"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    expectRewritten(base / "run" / "sub" / kIniFile);
    EXPECT_FALSE(fs::exists(base / "run" / kIniFile));
}

// The fault: Qt decoded the arguments, so a folder named in bytes that are no UTF-8 became
// another one (U+FFFD), and the settings there were neither read nor written.
TEST_F(Lifecycle, SettingsDirNamedInBytesThatAreNoUtf8IsTakenAsGiven) {
    const std::string folder = "\xff"
                               "x";
    fs::create_directory(base / "run" / folder);
    std::ofstream(base / "run" / folder / kIniFile) << kStoredSettings;
    ChildResult result = endWith(SIGTERM, {"--settings-dir", folder});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    expectRewritten(base / "run" / folder / kIniFile);
}

TEST_F(Lifecycle, UserSettingsLiveInTheConfigurationDirectoryCreatedWhenMissing) {
    const fs::path directory = base / "config" / "trz4steuerung";
    ChildResult first = endWith(SIGTERM, {"--user-settings", "--lang=de"});
    EXPECT_EQ(first.exitStatus, 0) << first.err;
    EXPECT_TRUE(contains(first.err, "Fehler #802201"));
    ASSERT_TRUE(fs::exists(directory / kIniFile));
    struct stat st {};
    ASSERT_EQ(stat(directory.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_FALSE(fs::exists(base / "run" / kIniFile));

    // The next run reads it from there. Without XDG_CONFIG_HOME it is ~/.config.
    std::ofstream(directory / kIniFile) << kStoredSettings;
    ChildResult second = endWith(SIGTERM, {"--user-settings", "--lang=de"});
    EXPECT_EQ(second.exitStatus, 0) << second.err;
    EXPECT_FALSE(contains(second.err, "Fehler #"));
    expectRewritten(directory / kIniFile);

    ChildResult home = endWith(SIGTERM, {"--user-settings"}, {"XDG_CONFIG_HOME"});
    EXPECT_EQ(home.exitStatus, 0) << home.err;
    EXPECT_TRUE(fs::exists(base / "home/.config/trz4steuerung" / kIniFile));
}

TEST_F(Lifecycle, HelpAndUsageErrorsNeedNoDisplayAndQtOptionsStillWork) {
    const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    auto run = [&](const std::vector<std::string> &args) {
        return start(args, noDisplay)->finish();
    };
    ChildResult help = run({"--help", "--lang", "de"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(contains(help.out, "Aufruf: trz4Steuerung [Optionen] [Qt-Optionen]"));
    EXPECT_TRUE(contains(help.out, "--settings-dir VERZ"));
    // The system's own place for --user-settings, whole, in both languages.
    EXPECT_TRUE(contains(help.out, "halten: $XDG_CONFIG_HOME/trz4steuerung/, sonst\n"
                                   "                       ~/.config/trz4steuerung/\n"));
    EXPECT_TRUE(
        contains(run({"--help", "--lang", "en"}).out,
                 "directory:\n                       $XDG_CONFIG_HOME/trz4steuerung/, else\n"
                 "                       ~/.config/trz4steuerung/\n"
                 "                       (created when needed)"));
    EXPECT_EQ(run({"--lang=de", "-h"}).out, help.out);
    EXPECT_TRUE(contains(help.out, "--version"));
    ChildResult version = run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("trz4Steuerung ") + kTrz4Version + "\n");
    EXPECT_EQ(version.err, "");

    ChildResult missing = run({"--lang", "de", "--settings-dir"});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.err, "trz4Steuerung: --settings-dir braucht ein Verzeichnis\n"
                           "Hilfe: trz4Steuerung --help\n");
    EXPECT_EQ(run({"--user-settings", "--settings-dir=x"}).exitStatus, 2);

    // Unknown arguments are judged once Qt has taken its own: that needs the display.
    ChildResult unknown = start({"--bogus", "--lang", "de"})->finish();
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_TRUE(contains(unknown.err, "trz4Steuerung: unbekannte Option --bogus\n"));
    EXPECT_EQ(start({"stray"})->finish().exitStatus, 2);
    EXPECT_FALSE(fs::exists(base / "run" / kIniFile)) << "nothing was read or written";

    // Qt's own option chooses the platform instead of the environment.
    std::ofstream(base / "run" / kIniFile) << kStoredSettings;
    ChildResult qt = endWith(SIGTERM, {"-platform", "offscreen"}, noDisplay);
    EXPECT_EQ(qt.exitStatus, 0) << qt.err;
    expectRewritten(base / "run" / kIniFile);
}

// Without a display it can reach, the program ends as its help promises: status 255 and a
// line in the language chosen, never Qt's abort; nothing is read or written. Under the
// pseudo-language every word of the line but the program's name and the display's setting has
// gone through the lookup; as written (German) the same check finds words.
TEST_F(Lifecycle, WithoutAReachableDisplayTheProgramEndsWith255InItsLanguage) {
    // A display number on which no X server listens.
    const std::string unreachable = "DISPLAY=:4711";
    if (fs::exists("/tmp/.X11-unix/X4711"))
        GTEST_SKIP() << "an X server listens on display :4711";
    std::ofstream(base / "run" / kIniFile) << kStoredSettings;
    for (const std::string &display : {std::string("DISPLAY"), unreachable}) {
        for (const std::string language : {"de", "qps"}) {
            SCOPED_TRACE(display + " --lang " + language);
            ChildResult result =
                start({"--lang", language}, {display, "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                    ->finish();
            EXPECT_EQ(result.termSignal, 0);
            EXPECT_EQ(result.exitStatus, 255) << result.err;
            // The program's own line comes last, after any warning of Qt's.
            std::string err = result.err;
            if (!err.empty() && err.back() == '\n')
                err.pop_back();
            const std::string line = err.substr(err.rfind('\n') + 1);
            EXPECT_EQ(line.rfind("trz4Steuerung: ", 0), 0u) << result.err;
            EXPECT_EQ(wordsBypassingTheLookup(line, {"trz4Steuerung", unreachable}).empty(),
                      language == "qps")
                << line;
        }
    }
    EXPECT_EQ(readFileBytes(base / "run" / kIniFile), kStoredSettings);
}

// The program speaks German under a German locale, English under any other, and --lang
// overrides; the help and the usage errors already follow, before anything is shown.
TEST_F(Lifecycle, LanguageFollowsTheLocaleAndTheOption) {
    const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    auto help = [&](const std::vector<std::string> &args, std::vector<std::string> env) {
        env.insert(env.end(), noDisplay.begin(), noDisplay.end());
        return start(args, env)->finish();
    };
    const std::string german = "Aufruf: trz4Steuerung [Optionen] [Qt-Optionen]";
    const std::string english = "Usage: trz4Steuerung [options] [Qt options]";
    EXPECT_TRUE(contains(help({"--help"}, {}).out, english)) << "LC_ALL=C is not German";
    EXPECT_TRUE(contains(help({"--help"}, {"LC_ALL", "LANG=de_DE.UTF-8"}).out, german));
    EXPECT_TRUE(
        contains(help({"--help"}, {"LC_ALL", "LC_MESSAGES=de_AT", "LANG=en_GB"}).out, german));
    EXPECT_TRUE(contains(help({"--help"}, {"LC_ALL=de_CH.UTF-8"}).out, german));
    EXPECT_TRUE(contains(help({"--help"}, {"LC_ALL", "LANG=xx_XX.UTF-8"}).out, english));
    EXPECT_TRUE(contains(help({"--help"}, {"LC_ALL", "LANG"}).out, english)) << "no locale";
    EXPECT_TRUE(contains(help({"--lang", "en", "--help"}, {"LC_ALL=de_DE.UTF-8"}).out, english));
    EXPECT_TRUE(contains(help({"--help", "--lang=de"}, {}).out, german));

    ChildResult wrong = help({"--lang", "xx"}, {"LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(wrong.exitStatus, 2);
    EXPECT_EQ(wrong.err, "trz4Steuerung: --lang braucht de oder en, nicht \"xx\"\n"
                         "Hilfe: trz4Steuerung --help\n");
    ChildResult missing = help({"--settings-dir"}, {});
    EXPECT_EQ(missing.err, "trz4Steuerung: --settings-dir needs a directory\n"
                           "Help: trz4Steuerung --help\n");

    // The running program: its messages and popups speak the language chosen.
    ChildResult run = endWith(SIGTERM, {"--lang", "en"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "Error #802201: INI-File not found\n")) << run.err;
}

TEST(CommandLine, ParsesTheProgramsOptionsBesideQts) {
    struct Case {
        std::vector<std::string> args;
        bool qtRemoved;
        bool ok;
        std::string dir;
        bool user;
        bool help;
        bool version = false;
    };
    const Case cases[] = {
        {{}, true, true, "", false, false},
        {{"--settings-dir", "/a b"}, true, true, "/a b", false, false},
        {{"--settings-dir=rel"}, true, true, "rel", false, false},
        {{"--user-settings"}, true, true, "", true, false},
        {{"-h"}, true, true, "", false, true},
        {{"--help", "--user-settings"}, true, true, "", true, true},
        {{"-platform", "xcb", "--version"}, false, true, "", false, false, true},
        // Before Qt has looked: its options and their values are passed over.
        {{"-platform", "offscreen", "--settings-dir", "d", "-style=Fusion"},
         false,
         true,
         "d",
         false,
         false},
        {{"-platform", "offscreen"}, true, false, "", false, false},
        {{"--settings-dir"}, false, false, "", false, false},
        {{"--settings-dir="}, true, false, "", false, false},
        {{"--user-settings=yes"}, false, false, "", false, false},
        {{"--user-settings", "--settings-dir", "d"}, false, false, "", false, false},
        {{"--bogus"}, true, false, "", false, false},
        {{"--lang", "de"}, true, true, "", false, false},
        {{"--lang=en", "--user-settings"}, true, true, "", true, false},
        {{"--lang"}, false, false, "", false, false},
        {{"--lang=EN"}, true, false, "", false, false},
        {{"--lang", "xx"}, false, false, "", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        ProgramOptions options;
        std::string error;
        EXPECT_EQ(parseProgramOptions(c.args, c.qtRemoved, &options, &error), c.ok) << error;
        EXPECT_EQ(error.empty(), c.ok);
        if (c.ok) {
            EXPECT_EQ(options.settingsDirectory, c.dir);
            EXPECT_EQ(options.userSettings, c.user);
            EXPECT_EQ(options.help, c.help);
            EXPECT_EQ(options.version, c.version);
        }
    }
    ProgramOptions options;
    std::string error;
    ASSERT_TRUE(parseProgramOptions({"--lang", "de", "--lang=en"}, true, &options, &error));
    EXPECT_EQ(options.language, Language::English) << "the last one counts";
    ASSERT_TRUE(parseProgramOptions({}, true, &(options = {}), &error));
    EXPECT_FALSE(options.language.has_value());
}

} // namespace
