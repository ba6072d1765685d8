// random_answers: trz4ctl's card commands against a hostile device. Each run starts trz4ctl on a
// pseudo-terminal linked as COM 9 and answers every frame it sends with a random stream (the
// protocol's control bytes, fragments of valid answers, any byte at all; at once, trickled, or
// cut off), then counts what must never happen: a crash (ended by a signal), a hang (alive
// well after its commands' time-outs), an exit status other than 0 or 1, and output that is
// not safe to print (a control character other than the line end, or bytes that are no UTF-8).
//
// Usage: random_answers [runs [seed [trz4ctl]]]    (default 4000 runs, seed 1, this build's
// trz4ctl;
//        RANDOM_ANSWERS_VERBOSE=1 prints each run's time, command and pace)
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kTimeout = 0.05;
// Longer than any command may take with kTimeout: two exchanges (a write and its read-back),
// each one time-out plus its wire time, with room for a loaded machine.
constexpr double kHangSeconds = 3.0;

struct Counts {
    int runs = 0, crashes = 0, hangs = 0, wrongExit = 0, unsafeOutput = 0, ok = 0, cardError = 0;
    double slowest = 0;
    std::string slowestRun; // its command, the device's pace and the answers it sent
};

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Whether text is safe for a terminal: UTF-8, and no control character but the line end.
bool safeOutput(const std::string &text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n')
            continue;
        if (c < 0x20 || c == 0x7F)
            return false;
        if (c < 0x80)
            continue;
        size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (length == 0 || c > 0xF4 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0)
            return false; // a C1 control
        i += length - 1;
    }
    return true;
}

// One hostile answer to `frame`.
std::string randomAnswer(std::mt19937 &random, const std::string &frame) {
    static const std::string kPieces[] = {"\x06",
                                          "\x15",
                                          "\x18",
                                          "#",
                                          "1",
                                          "\r",
                                          "err\r",
                                          "VEK-TRZ4-",
                                          "0123456789abcdefABCDEF",
                                          "\x1b]0;x\x07",
                                          "\n",
                                          " "};
    std::string answer;
    const int parts = std::uniform_int_distribution<int>(0, 8)(random);
    for (int i = 0; i < parts; ++i) {
        switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0: // a valid start: the handshake and the echo
            answer += "\x06" + frame.substr(0, std::min<size_t>(frame.size(), 5));
            break;
        case 1: // any bytes at all
            for (int n = std::uniform_int_distribution<int>(1, 12)(random); n > 0; --n)
                answer += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
            break;
        default: {
            const auto &piece =
                kPieces[std::uniform_int_distribution<size_t>(0, std::size(kPieces) - 1)(random)];
            answer +=
                piece.substr(0, std::uniform_int_distribution<size_t>(1, piece.size())(random));
        }
        }
    }
    return answer;
}

// Sends answer byte by byte with the run's pace, until trz4ctl has ended (its output closed).
void sendAnswer(int master, int output, const std::string &answer, double perByte) {
    for (char c : answer) {
        if (perByte > 0) {
            usleep(static_cast<useconds_t>(perByte * 1e6));
            pollfd pfd{output, 0, 0};
            if (poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLHUP))
                return;
        }
        if (write(master, &c, 1) != 1)
            return;
    }
}

void oneRun(std::mt19937 &random, const fs::path &config, const char *program, Counts &counts) {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("posix_openpt");
        std::exit(2);
    }
    const std::string slave = ptsname(master);
    const int own = open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    tcgetattr(own, &tio);
    cfmakeraw(&tio);
    tcsetattr(own, TCSANOW, &tio);
    const fs::path link = config / "trz4steuerung" / "ports" / "com9";
    fs::remove(link);
    fs::create_symlink(slave, link);

    static const std::vector<std::vector<std::string>> kCommands = {
        {"id"}, {"read"}, {"status"}, {"write", "5", "--yes"}, {"scan"}};
    std::vector<std::string> args = {"trz4ctl", "--com", "9", "--timeout",
                                     std::to_string(kTimeout)};
    const auto &command = kCommands[std::uniform_int_distribution<size_t>(0, 4)(random)];
    args.insert(args.end(), command.begin(), command.end());
    if (random() % 2)
        args.push_back("--json");
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        std::exit(2);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    if (posix_spawn(&child, program, &actions, nullptr, argv.data(), environ) != 0)
        std::exit(2);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    // The pace of this run's device: at once, a modem's pace, or trickling near the time-out.
    const double paces[] = {0, 0.001, kTimeout * 0.9};
    const double perByte = paces[std::uniform_int_distribution<int>(0, 2)(random)];
    const auto start = Clock::now();
    std::string frame, output;
    int status = 0;
    bool ended = false;
    while (!ended) {
        if (waitpid(child, &status, WNOHANG) == child) {
            ended = true;
            if (std::getenv("RANDOM_ANSWERS_VERBOSE"))
                std::printf("%.3f s %s %.3f\n", since(start), command[0].c_str(), perByte);
            if (since(start) > counts.slowest) {
                counts.slowest = since(start);
                counts.slowestRun = command[0] + ", " + std::to_string(perByte) + " s per byte";
            }
            break;
        }
        if (since(start) > kHangSeconds) {
            ++counts.hangs;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            std::printf("hang: %s\n", args[5].c_str());
            break;
        }
        pollfd fds[2] = {{master, POLLIN, 0}, {out[0], POLLIN, 0}};
        poll(fds, 2, 5);
        char buffer[256];
        if (fds[1].revents & POLLIN) {
            const ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n > 0)
                output.append(buffer, static_cast<size_t>(n));
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                frame += buffer[i];
                if (buffer[i] == '\r') {
                    sendAnswer(master, out[0], randomAnswer(random, frame), perByte);
                    frame.clear();
                }
            }
        }
    }
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    ++counts.runs;
    if (ended) {
        if (WIFSIGNALED(status)) {
            ++counts.crashes;
            std::printf("crash: signal %d\n", WTERMSIG(status));
        } else if (WEXITSTATUS(status) == 0) {
            ++counts.ok;
        } else if (WEXITSTATUS(status) == 1) {
            ++counts.cardError;
        } else {
            ++counts.wrongExit;
            std::printf("exit %d: %s\n", WEXITSTATUS(status), args[5].c_str());
        }
        if (!safeOutput(output)) {
            ++counts.unsafeOutput;
            std::printf("unsafe output: %s\n", args[5].c_str());
        }
    }
    close(own);
    close(master);
}

} // namespace

int main(int argc, char **argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 4000;
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u);
    char pattern[] = "/tmp/random_answers-XXXXXX";
    if (!mkdtemp(pattern))
        return 2;
    const fs::path config = fs::path(pattern) / "config";
    fs::create_directories(config / "trz4steuerung" / "ports");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("LANG", "C.UTF-8", 1);
    Counts counts;
    const auto start = Clock::now();
    const char *program = argc > 3 ? argv[3] : TRZ4CTL_PROGRAM;
    for (int i = 0; i < runs; ++i)
        oneRun(random, config, program, counts);
    fs::remove_all(pattern);
    std::printf("runs %d: exit 0 %d, exit 1 %d; crashes %d, hangs %d, wrong exit status %d, "
                "unsafe output %d; slowest run %.3f s (%s; time-out %.2f s), all runs %.1f s\n",
                counts.runs, counts.ok, counts.cardError, counts.crashes, counts.hangs,
                counts.wrongExit, counts.unsafeOutput, counts.slowest, counts.slowestRun.c_str(),
                kTimeout, since(start));
    return counts.crashes + counts.hangs + counts.wrongExit + counts.unsafeOutput == 0 ? 0 : 1;
}
