// The card simulator seen from the line: raw frames in, raw replies out; and the program's
// life cycle (its one line of output, the port-map link, ending on a signal).
#include "platform/comports.h"
#include "platform/tests/scratch_dir.h"
#include "tools/sim/trz4sim_engine.h"

#include "text/testing/pseudo_check.h"
#include "trz4version.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

extern char **environ;

namespace {

// The program's end of the pty, opened raw.
class Line {
public:
    explicit Line(const std::string &device) {
        fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    ~Line() {
        if (fd >= 0)
            close(fd);
    }
    bool isOpen() const { return fd >= 0; }

    // Sends a frame and collects the reply until `quiet` passes without a byte, or until the
    // reply ends with `last`.
    std::string ask(const std::string &frame, double quiet = 0.1, char last = '\r') {
        if (write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size()))
            return "<write failed>";
        std::string reply;
        for (;;) {
            if (last && !reply.empty() && reply.back() == last)
                return reply;
            pollfd pfd{fd, POLLIN, 0};
            if (poll(&pfd, 1, static_cast<int>(quiet * 1000)) <= 0 || !(pfd.revents & POLLIN))
                return reply;
            char buffer[128];
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return reply;
            reply.append(buffer, static_cast<size_t>(n));
        }
    }

private:
    int fd = -1;
};

const std::string kAck = "\x06";
const std::string kNak = "\x15";

TEST(SimEngine, AnswersTheFourCommands) {
    SimOptions options;
    SimCard card;
    card.address = 'a';
    card.id = "VEK-TRZ4-A";
    card.cardNumber = '9';
    card.status = 0x1234;
    options.cards = {card};
    CardSimulator sim(options);
    ASSERT_EQ(sim.start(), 0);
    Line line(sim.devicePath());
    ASSERT_TRUE(line.isOpen());
    EXPECT_EQ(line.ask("#aIDR\r"), kAck + "#aVEK-TRZ4-A\r");
    EXPECT_EQ(line.ask("#aDNR\r"), kAck + "#aDNR9\r");
    EXPECT_EQ(line.ask("#aDNWb\r"), kAck);
    EXPECT_EQ(sim.cardNumber('a'), 'b');
    EXPECT_EQ(line.ask("#aDNR\r"), kAck + "#aDNRb\r");
    EXPECT_EQ(line.ask("#aS1R\r"), kAck + "#aS1R1234\r");
    EXPECT_EQ(sim.frames().size(), 5u);
    EXPECT_EQ(sim.frames()[2], "#aDNWb");
}

TEST(SimEngine, RefusesWhatACardWouldRefuse) {
    CardSimulator sim;
    ASSERT_EQ(sim.start(), 0);
    Line line(sim.devicePath());
    EXPECT_EQ(line.ask("#1DNWg\r"), kNak) << "invalid card number";
    EXPECT_EQ(sim.cardNumber('1'), '1');
    EXPECT_EQ(line.ask("#1XYZ\r"), kNak) << "unknown command";
    EXPECT_EQ(line.ask("#2IDR\r"), "") << "no card at 2";
    EXPECT_EQ(line.ask("noise#1IDR\r"), kAck + "#1VEK-TRZ4-SIM\r") << "noise before # ignored";
    EXPECT_EQ(line.ask(std::string(40, '#') + "x\r"), "") << "an over-long run is no frame";
}

TEST(SimEngine, FaultsShapeTheReply) {
    CardSimulator sim;
    ASSERT_EQ(sim.start(), 0);
    Line line(sim.devicePath());
    sim.setFault(SimFault::Err);
    EXPECT_EQ(line.ask("#1S1R\r"), kAck + "#1S1Rerr\r");
    sim.setFault(SimFault::HighBit);
    EXPECT_EQ(line.ask("#1DNR\r"), kAck + "#1\xC4"
                                          "DNR1\r");
    EXPECT_EQ(line.ask("#1DNW2\r"), "\x86");
    sim.setFault(SimFault::Overlong);
    EXPECT_EQ(line.ask("#1IDR\r"), kAck + "#1VEK-TRZ4-SIM" + std::string(40, '.') + "\r");
    sim.setFault(SimFault::Stall, 4);
    EXPECT_EQ(line.ask("#1IDR\r"), kAck + "#1V");
    sim.setFault(SimFault::KeepNumber);
    EXPECT_EQ(line.ask("#1DNW3\r"), kAck);
    EXPECT_EQ(line.ask("#1DNR\r"), kAck + "#1DNR2\r") << "the number from before";
    sim.setFault(SimFault::Can);
    EXPECT_EQ(line.ask("#1IDR\r"), "\x18");
}

TEST(SimEngine, ByteDelayPacesTheReply) {
    CardSimulator sim;
    ASSERT_EQ(sim.start(), 0);
    sim.setByteDelay(0.002);
    Line line(sim.devicePath());
    auto start = Clock::now();
    std::string reply = line.ask("#1DNR\r", 2.0, '\r');
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(reply, kAck + "#1DNR1\r");
    // 6 frame bytes and 8 reply bytes at 2 ms each.
    EXPECT_GE(elapsed, 14 * 0.002 * 0.95);
    EXPECT_LT(elapsed, 14 * 0.002 * 1.8 + 0.1) << "generous: a loaded machine oversleeps";
}

TEST(SimEngine, ClearsTheExclusiveModeOfAKilledHolderButNotOfALivingOne) {
    CardSimulator sim;
    ASSERT_EQ(sim.start(), 0);
    auto exclusiveAfterAWhile = [&](int holder) {
        usleep(1200 * 1000); // two of the simulator's quiet checks
        int exclusive = 0;
        EXPECT_EQ(ioctl(holder, TIOCGEXCL, &exclusive), 0);
        return exclusive != 0;
    };
    // A living holder keeps its lock with its exclusive mode.
    int holder = open(sim.devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(holder, TIOCEXCL), 0);
    EXPECT_TRUE(exclusiveAfterAWhile(holder));
    // Its lock gone (the holder was killed): only the mode is left, and cleared.
    ASSERT_EQ(flock(holder, LOCK_UN), 0);
    EXPECT_FALSE(exclusiveAfterAWhile(holder));
    close(holder);
}

TEST(SimEngine, VanishClosesTheLineAndStopIsStillClean) {
    CardSimulator sim;
    ASSERT_EQ(sim.start(), 0);
    Line line(sim.devicePath());
    sim.vanishAfter(2);
    EXPECT_EQ(line.ask("#1IDR\r"), kAck + "#");
    sim.stop();
    sim.stop();
}

// --- The program -----------------------------------------------------------------------------

std::string readLine(int fd, double seconds) {
    std::string text;
    auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (text.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, 100) > 0) {
            char buffer[256];
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<size_t>(n));
        }
    }
    return text;
}

// Starts the simulator with its stdout (and with withStderr its stderr as well) on a pipe.
pid_t spawnSimulator(const std::vector<std::string> &args, int *out, bool withStderr = false) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    if (withStderr)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char *> argv;
    std::string program = TRZ4SIM_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string &arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    *out = pipeFds[0];
    return pid;
}

TEST(SimProgram, SaysWhereItIsAndRemovesItsLinkOnSignal) {
    const ScratchDir scratch("sim_program_");
    const fs::path root = scratch.path();
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        int out = -1;
        pid_t pid = spawnSimulator({"--com", "9", "--card", "1", "--status", "20"}, &out);
        ASSERT_GT(pid, 0);
        std::string line = readLine(out, 5.0);
        fs::path link = root / "trz4steuerung/ports/com9";
        EXPECT_NE(line.find("/dev/pts/"), std::string::npos) << line;
        EXPECT_NE(line.find("COM 9"), std::string::npos) << line;
        EXPECT_TRUE(fs::is_symlink(link));
        {
            Line card(link.string());
            EXPECT_EQ(card.ask("#1S1R\r"), kAck + "#1S1R20\r");
        }
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        close(out);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_FALSE(fs::is_symlink(link)) << "the link goes with the program";
    }
    unsetenv("XDG_CONFIG_HOME");
}

// Runs the simulator with args to its end; its stdout (with withStderr its stderr as well) in
// *text, its exit status returned (-1 when it did not exit by itself).
int runSimulatorToEnd(const std::vector<std::string> &args, std::string *text,
                      bool withStderr = false) {
    int out = -1;
    pid_t pid = spawnSimulator(args, &out, withStderr);
    if (pid <= 0)
        return -1;
    char buffer[4096];
    ssize_t n;
    while ((n = read(out, buffer, sizeof buffer)) > 0)
        text->append(buffer, static_cast<size_t>(n));
    close(out);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SimProgram, HelpVersionAndBadOptions) {
    std::string text;
    EXPECT_EQ(runSimulatorToEnd({"--help"}, &text), 0);
    for (const char *word :
         {"--com", "--card", "--foreign", "silence", "nak", "can", "err", "garbage", "highbit",
          "stall", "overlong", "--vanish", "--line", "--version"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
    // The man page's name line comes from the help's first line.
    EXPECT_EQ(text.rfind("trz4sim - ", 0), 0u) << text;

    std::string version;
    EXPECT_EQ(runSimulatorToEnd({"--card", "2", "--version"}, &version), 0);
    EXPECT_EQ(version, std::string("trz4sim ") + kTrz4Version + "\n");

    for (std::vector<std::string> bad : {std::vector<std::string>{"--com", "0"},
                                         {"--card", "A"},
                                         {"--fault", "boom"},
                                         {"--status"}}) {
        std::string ignored;
        EXPECT_EQ(runSimulatorToEnd(bad, &ignored), 2) << bad[0];
    }
}

// The help and the messages speak the locale's language (the man pages are made from the help
// under an English and a German locale), --lang overrides it, and under the pseudo-language
// every word has gone through the lookup but the program's name and what the caller typed.
TEST(SimProgram, HelpAndMessagesInTheLanguageAndEveryTextThroughTheLookup) {
    struct Case {
        const char *locale;
        std::vector<std::string> args;
        const char *begins; // what the output begins with; null: the pseudo-language's check
    };
    const Case cases[] = {
        {"C.UTF-8", {"--help"}, "trz4sim - plays trz-4 cards"},
        {"de_DE.UTF-8", {"--help"}, "trz4sim - spielt trz-4-Karten"},
        {"de_DE.UTF-8", {"--lang", "en", "--help"}, "trz4sim - plays"},
        {"C.UTF-8", {"--fault", "boom", "--lang=de"}, "trz4sim: unbekanntes Fehlerbild boom"},
        {"C.UTF-8", {"--lang", "qps", "--help"}, nullptr},
        {"C.UTF-8", {"--lang", "qps", "--com", "0"}, nullptr},
        {"C.UTF-8", {"--lang", "qps", "--card", "x"}, nullptr},
        {"C.UTF-8", {"--lang", "qps", "--fault", "boom"}, nullptr},
        {"C.UTF-8", {"--lang", "qps", "--bogus", "1"}, nullptr},
        {"C.UTF-8", {"--lang", "qps", "--id"}, nullptr},
    };
    const char *saved = std::getenv("LC_ALL");
    const std::string previous = saved != nullptr ? saved : "";
    for (const Case &c : cases) {
        setenv("LC_ALL", c.locale, 1);
        std::string text;
        runSimulatorToEnd(c.args, &text, true);
        SCOPED_TRACE(std::string(c.locale) + " " + c.args.back() + ": " + text);
        if (c.begins != nullptr) {
            EXPECT_EQ(text.rfind(c.begins, 0), 0u);
            continue;
        }
        std::vector<std::string> plain = c.args;
        plain.push_back("trz4sim");
        EXPECT_EQ(wordsBypassingTheLookup(text, plain), std::vector<std::string>{});
    }
    if (saved != nullptr)
        setenv("LC_ALL", previous.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

} // namespace
