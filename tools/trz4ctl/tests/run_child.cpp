#include "tools/trz4ctl/tests/run_child.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// The parent's environment with the changes applied, ready for execve.
std::vector<std::string> childEnvironment(const std::vector<std::string> &changes) {
    std::vector<std::string> entries;
    for (char **entry = environ; *entry != nullptr; ++entry)
        entries.emplace_back(*entry);
    for (const std::string &change : changes) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(entries, [&name](const std::string &entry) {
            return entry.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (change.find('=') != std::string::npos)
            entries.push_back(change);
    }
    return entries;
}

// Forks and execs; everything the child needs is prepared before fork: the test process runs
// simulator threads, so the child may only make async-signal-safe calls before exec.
pid_t spawn(const std::string &program, const std::vector<std::string> &args,
            const std::string &workDir, const std::vector<std::string> &environment, int *outFd,
            int *errFd) {
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    const std::vector<std::string> envEntries = childEnvironment(environment);
    std::vector<char *> envp;
    for (const std::string &entry : envEntries)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        return -1;
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);

    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(workDir.c_str()) != 0)
            _exit(126);
        dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    close(devNull);
    *outFd = outPipe[0];
    *errFd = errPipe[0];
    return pid;
}

// Reads what the two pipes offer within timeoutMs; a pipe at its end is closed and set to -1.
void readPipes(int *outFd, int *errFd, ChildResult *result, int timeoutMs) {
    pollfd fds[2] = {{*outFd, POLLIN, 0}, {*errFd, POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0)
        return;
    int *owners[2] = {outFd, errFd};
    std::string *sinks[2] = {&result->out, &result->err};
    for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || fds[i].revents == 0)
            continue;
        char buffer[4096];
        const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
            sinks[i]->append(buffer, static_cast<size_t>(n));
        } else {
            close(fds[i].fd);
            *owners[i] = -1;
        }
    }
}

int millisecondsUntil(Clock::time_point deadline) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}

} // namespace

ChildResult runChild(const std::string &program, const std::vector<std::string> &args,
                     const std::string &workDir, double limitSeconds,
                     const std::vector<std::string> &environment) {
    ChildResult result;
    int outFd = -1, errFd = -1;
    const pid_t pid = spawn(program, args, workDir, environment, &outFd, &errFd);
    if (pid < 0)
        return result;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(limitSeconds));
    bool killed = false;
    while (outFd >= 0 || errFd >= 0) {
        const int left = millisecondsUntil(deadline);
        if (left <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        readPipes(&outFd, &errFd, &result, left);
    }
    for (int fd : {outFd, errFd}) {
        if (fd >= 0)
            close(fd);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!killed && WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    return result;
}

RunningChild::RunningChild(const std::string &program, const std::vector<std::string> &args,
                           const std::string &workDir,
                           const std::vector<std::string> &environment) {
    pid = spawn(program, args, workDir, environment, &outFd, &errFd);
}

RunningChild::~RunningChild() {
    if (pid > 0)
        stop(SIGKILL, 5.0);
}

void RunningChild::readAvailable(int timeoutMs) {
    readPipes(&outFd, &errFd, &result, timeoutMs);
}

bool RunningChild::waitForOutput(const std::string &text, double limitSeconds) {
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(limitSeconds));
    while (result.out.find(text) == std::string::npos) {
        const int left = millisecondsUntil(deadline);
        if (left <= 0 || (outFd < 0 && errFd < 0))
            return false;
        readAvailable(left);
    }
    return true;
}

ChildResult RunningChild::stop(int signalNumber, double limitSeconds, int *signal) {
    if (pid <= 0)
        return result;
    kill(pid, signalNumber);
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(limitSeconds));
    while (outFd >= 0 || errFd >= 0) {
        const int left = millisecondsUntil(deadline);
        if (left <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        readAvailable(left);
    }
    for (int fd : {outFd, errFd}) {
        if (fd >= 0)
            close(fd);
    }
    outFd = errFd = -1;
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (signal != nullptr)
        *signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return result;
}
