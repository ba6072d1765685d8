// The termios backend against a real pseudo-terminal whose master end the test plays.
#include "platform/comports.h"
#include "platform/rs232.h"
#include "platform/tests/closed_port_check.h"
#include "platform/tests/held_by_child.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <csignal>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCom = 9;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class Rs232Pty : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("serial_rs232_" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "dev");
        setComPortRoots(
            {(root / "dev").string(), (root / "sys").string(), (root / "ports").string()});
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slave = ptsname(master);
        // Keep one slave descriptor, raw, so that the pty neither echoes nor hangs up between
        // the opens of a test.
        holder = open(slave.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(holder, 0);
        termios tio{};
        tcgetattr(holder, &tio);
        cfmakeraw(&tio);
        tcsetattr(holder, TCSANOW, &tio);
        ASSERT_EQ(addPortMapLink(kCom, slave), 0);
    }
    void TearDown() override {
        CloseCom(kCom);
        CloseCom(kCom + 1);
        if (holder >= 0)
            close(holder);
        if (master >= 0)
            close(master);
        setComPortRoots({});
        fs::remove_all(root);
    }

    int openPort(int com = kCom) { return OpenComConfig(com, "", 9600, 1, 7, 1, 512, 512); }

    // Reads what the program sent, waiting briefly for it.
    std::string masterRead(size_t expected) {
        std::string got;
        auto deadline = Clock::now() + std::chrono::seconds(2);
        while (got.size() < expected && Clock::now() < deadline) {
            pollfd pfd{master, POLLIN, 0};
            if (poll(&pfd, 1, 50) > 0) {
                char buffer[64];
                ssize_t n = read(master, buffer, sizeof buffer);
                if (n > 0)
                    got.append(buffer, static_cast<size_t>(n));
            }
        }
        return got;
    }

    void masterWrite(const std::string &bytes) {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    fs::path root;
    int master = -1;
    int holder = -1;
    std::string slave;
};

// What an open's failure says, for the messages of failed checks.
std::string why() {
    const OpenFailure &failure = lastOpenFailure();
    return "kind " + std::to_string(static_cast<int>(failure.kind)) + " " + failure.device + " " +
           failure.systemMessage;
}

TEST_F(Rs232Pty, ExchangesBytesBothWaysAndReopens) {
    // A pty refuses every 7O1 request after the first; each of these opens must still work.
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(openPort(), 0) << why();
        EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::None);
        ASSERT_EQ(SetComTime(kCom, 0.5), 0);
        EXPECT_DOUBLE_EQ(comTimeoutSeconds(kCom), 0.5);
        EXPECT_EQ(ComWrt(kCom, "#1IDR\r", 6), 6);
        EXPECT_EQ(GetOutQLen(kCom), 0);
        EXPECT_EQ(masterRead(6), "#1IDR\r");
        masterWrite("\x06#\xC4\r");
        EXPECT_EQ(ComRdByte(kCom), 0x06);
        EXPECT_EQ(ComRdByte(kCom), '#');
        EXPECT_EQ(ComRdByte(kCom), 0xC4) << "bytes come back as 0-255";
        EXPECT_EQ(ComRdByte(kCom), '\r');
        EXPECT_EQ(CloseCom(kCom), 0);
    }
}

TEST_F(Rs232Pty, SilenceCostsOneTimeout) {
    ASSERT_EQ(openPort(), 0);
    ASSERT_EQ(SetComTime(kCom, 0.1), 0);
    auto start = Clock::now();
    EXPECT_EQ(ComRdByte(kCom), kComTimeout);
    double elapsed = secondsSince(start);
    EXPECT_GE(elapsed, 0.1);
    EXPECT_LT(elapsed, 0.18);
    ASSERT_EQ(SetComTime(kCom, 0.0), 0);
    start = Clock::now();
    EXPECT_EQ(ComRdByte(kCom), kComTimeout);
    EXPECT_LT(secondsSince(start), 0.05) << "a zero time-out does not wait";
}

TEST_F(Rs232Pty, FlushInputDiscardsWaitingBytes) {
    ASSERT_EQ(openPort(), 0);
    ASSERT_EQ(SetComTime(kCom, 0.05), 0);
    masterWrite("xyz");
    EXPECT_EQ(ComRdByte(kCom), 'x');
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // let the rest arrive
    EXPECT_EQ(FlushInQ(kCom), 0);
    EXPECT_EQ(FlushOutQ(kCom), 0);
    EXPECT_EQ(ComRdByte(kCom), kComTimeout);
}

TEST_F(Rs232Pty, WriteThatCannotFinishReturnsTheCountWithinTheTimeout) {
    // Nobody reads the master end: the pty's queue fills and the rest must not block.
    ASSERT_EQ(openPort(), 0);
    ASSERT_EQ(SetComTime(kCom, 0.05), 0);
    std::string flood(1 << 20, 'x');
    auto start = Clock::now();
    int accepted = ComWrt(kCom, flood.data(), static_cast<int>(flood.size()));
    double elapsed = secondsSince(start);
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, static_cast<int>(flood.size()));
    EXPECT_GE(elapsed, 0.05);
    EXPECT_LT(elapsed, 0.05 * 1.8 + 0.1);
    start = Clock::now();
    EXPECT_EQ(CloseCom(kCom), 0) << "close does not wait for a line that never drains";
    EXPECT_LT(secondsSince(start), 0.05 * 1.8 + 0.1);
}

TEST_F(Rs232Pty, VanishedOtherEndEndsReadAtOnce) {
    ASSERT_EQ(openPort(), 0);
    ASSERT_EQ(SetComTime(kCom, 2.0), 0);
    masterWrite("A");
    close(holder);
    holder = -1;
    close(master);
    master = -1;
    auto start = Clock::now();
    int first = ComRdByte(kCom);
    int second = ComRdByte(kCom);
    EXPECT_LT(secondsSince(start), 1.0) << "no waiting for a time-out on a hung-up line";
    EXPECT_TRUE(first == 'A' || first == kComHangup) << first;
    EXPECT_EQ(second, kComHangup);
    EXPECT_LT(ComWrt(kCom, "#", 1), 0);
    EXPECT_EQ(CloseCom(kCom), 0);
}

TEST_F(Rs232Pty, SecondOpenOfTheSameDeviceIsBusy) {
    ASSERT_EQ(addPortMapLink(kCom + 1, slave), 0);
    ASSERT_EQ(openPort(), 0);
    EXPECT_EQ(openPort(kCom + 1), kComBusy);
    EXPECT_EQ(lastOpenFailureCode(), kComBusy);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::Busy);
    EXPECT_EQ(lastOpenFailure().device, portMapDirectory() + "/com" + std::to_string(kCom + 1));
    ASSERT_EQ(CloseCom(kCom), 0);
    EXPECT_EQ(openPort(kCom + 1), 0) << "free again after the close";
}

TEST_F(Rs232Pty, ExclusiveModeIsBusyWhileItsHolderLivesAndALeftoverAfter) {
    // A living holder keeps the lock with its exclusive mode. Root's open passes that mode (the
    // tests run as root here), an ordinary user's is refused with EBUSY: busy either way.
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(holder, TIOCEXCL), 0);
    EXPECT_EQ(openPort(), kComBusy);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::Busy) << why();
    int exclusive = 0;
    ASSERT_EQ(ioctl(holder, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1) << "the other program's exclusive mode is left in place";

    // A holder that was killed leaves the pseudo-terminal's exclusive mode without its lock:
    // a leftover, taken over, and cleared with our close.
    ASSERT_EQ(flock(holder, LOCK_UN), 0);
    ASSERT_EQ(openPort(), 0) << why();
    EXPECT_EQ(CloseCom(kCom), 0);
    ASSERT_EQ(ioctl(holder, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(Rs232Pty, CloseAndTerminationSignalsPutTheLineBackAsFound) {
    termios found{};
    ASSERT_EQ(tcgetattr(holder, &found), 0);
    found.c_lflag |= ICANON | ECHO;
    found.c_oflag |= OPOST;
    ASSERT_EQ(tcsetattr(holder, TCSANOW, &found), 0);
    auto expectAsFound = [&] {
        termios now{};
        ASSERT_EQ(tcgetattr(holder, &now), 0);
        EXPECT_EQ(now.c_lflag, found.c_lflag);
        EXPECT_EQ(now.c_oflag, found.c_oflag);
        EXPECT_EQ(now.c_iflag, found.c_iflag);
        int exclusive = 1;
        ASSERT_EQ(ioctl(holder, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 0);
    };
    ASSERT_EQ(openPort(), 0) << why();
    ASSERT_EQ(CloseCom(kCom), 0);
    expectAsFound();

    // A program killed while it holds the port: it puts the line back and ends by the signal.
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signalNumber);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const char opened = releasePortsOnTerminationSignals() == 0 && openPort() == 0;
            ssize_t ignored = write(ready[1], &opened, 1);
            (void)ignored;
            for (;;)
                pause();
        }
        char opened = 0;
        ASSERT_EQ(read(ready[0], &opened, 1), 1);
        close(ready[0]);
        close(ready[1]);
        ASSERT_TRUE(opened);
        kill(child, signalNumber);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        expectAsFound();
    }
}

TEST_F(Rs232Pty, SessionsTerminalIsNeverOpened) {
    // A session leader that makes this pseudo-terminal its controlling terminal; as a shell it
    // also reads and writes it as its standard streams.
    auto sessionOnTheTerminal = [this](bool asShell) {
        return [this, asShell] {
            if (setsid() < 0)
                return false;
            int fd = open(slave.c_str(), O_RDWR);
            if (fd < 0 || tcgetsid(fd) != getpid())
                return false;
            return !asShell || (dup2(fd, 0) == 0 && dup2(fd, 1) == 1 && dup2(fd, 2) == 2);
        };
    };
    // A shell's terminal, reached through a stale port-map entry.
    HeldByChild shell(sessionOnTheTerminal(true));
    ASSERT_TRUE(shell.holds());
    EXPECT_EQ(openPort(), kComBusy);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::SessionTerminal) << why();
    shell.release();
    EXPECT_EQ(openPort(), 0) << "an ordinary terminal once the session has ended";
    ASSERT_EQ(CloseCom(kCom), 0);

    // A daemon that opened the port without O_NOCTTY (Wine's server) has it as its
    // controlling terminal too, but uses it as a port: no session's terminal in use.
    HeldByChild daemon(sessionOnTheTerminal(false));
    ASSERT_TRUE(daemon.holds());
    EXPECT_EQ(openPort(), 0) << why();
}

TEST_F(Rs232Pty, OpenFailuresSayWhatWentWrongWithTheDeviceOrNumber) {
    EXPECT_EQ(openPort(40), kComNoDevice);
    EXPECT_EQ(lastOpenFailureCode(), kComNoDevice);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::Unmapped);
    EXPECT_EQ(lastOpenFailure().port, 40);
    ASSERT_EQ(addPortMapLink(11, (root / "gone").string()), 0);
    EXPECT_EQ(openPort(11), kComNoDevice);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::MissingDevice);
    EXPECT_EQ(lastOpenFailure().device, portMapDirectory() + "/com11");
    EXPECT_EQ(openPort(0), kComInvalidPort);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::InvalidPort);
    EXPECT_EQ(lastOpenFailure().port, 0);
    EXPECT_EQ(openPort(257), kComInvalidPort);
    EXPECT_EQ(OpenComConfig(kCom, "", 9601, 1, 7, 1, 512, 512), kComInvalidArgument);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::UnsupportedParameters);
    EXPECT_EQ(OpenComConfig(kCom, "", 9600, 5, 7, 1, 512, 512), kComInvalidArgument);
    EXPECT_EQ(OpenComConfig(kCom, slave.c_str(), 9600, 1, 7, 1, 512, 512), 0)
        << "an explicit device name is used as given";
    EXPECT_EQ(lastOpenFailureCode(), 0);
    EXPECT_EQ(lastOpenFailure().kind, OpenFailureKind::None);
}

TEST_F(Rs232Pty, PermissionFailureNamesTheGroupToJoin) {
    // Root opens anything; the refusal is seen by an ordinary user, played by a child that
    // drops root's rights (so the test needs root to start from).
    if (getuid() != 0)
        GTEST_SKIP() << "needs root to play an ordinary user";
    fs::path device = root / "dev/ttyUSB0";
    {
        FILE *f = fopen(device.c_str(), "w");
        ASSERT_NE(f, nullptr);
        fclose(f);
    }
    chmod(device.c_str(), 0660);
    chmod(root.c_str(), 0755);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        int result = OpenComConfig(33, "", 9600, 1, 7, 1, 512, 512);
        const OpenFailure &failure = lastOpenFailure();
        std::string reason = std::to_string(static_cast<int>(failure.kind)) + "|" + failure.device +
                             "|" + failure.group;
        ssize_t ignored = write(pipeFds[1], reason.data(), reason.size());
        (void)ignored;
        _exit(result == kComAccessDenied ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string reason;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        reason.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << reason;
    EXPECT_EQ(reason, std::to_string(static_cast<int>(OpenFailureKind::AccessDenied)) + "|" +
                          device.string() + "|root");
}

TEST_F(Rs232Pty, OperationsOnAClosedPortFail) {
    // A port whose device is there but that nobody opened.
    expectEveryCallFindsThePortClosed(kCom);
    ASSERT_EQ(openPort(), 0);
    EXPECT_EQ(SetComTime(kCom, -1.0), kComInvalidArgument);
}

} // namespace
