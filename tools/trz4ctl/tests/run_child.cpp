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

// The child's environment: ours with the changes applied.
std::vector<std::string> changedEnvironment(const std::vector<std::string> &changes) {
    std::vector<std::string> env;
    for (char **entry = environ; *entry != nullptr; ++entry)
        env.emplace_back(*entry);
    for (const std::string &change : changes) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(env, [&](const std::string &entry) {
            return entry.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (change.find('=') != std::string::npos)
            env.push_back(change);
    }
    return env;
}

} // namespace

ChildProcess::ChildProcess(const std::string &program, const std::vector<std::string> &args,
                           const std::string &workDir, const std::vector<std::string> &envChanges) {
    // Everything the child needs is prepared before fork: the test process runs simulator
    // threads, so the child may only make async-signal-safe calls before exec.
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    const std::vector<std::string> env = changedEnvironment(envChanges);
    std::vector<char *> envp;
    for (const std::string &entry : env)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return;
    }
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);

    child = fork();
    if (child == 0) {
        if (chdir(workDir.c_str()) != 0)
            _exit(126);
        // The test process may ignore or block signals; the child starts as a shell starts it.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int sig : {SIGTERM, SIGHUP, SIGINT})
            ::signal(sig, SIG_DFL);
        dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    close(devNull);
    outFd = outPipe[0];
    errFd = errPipe[0];
    if (child < 0) {
        close(outFd);
        close(errFd);
        outFd = errFd = -1;
    }
}

ChildProcess::~ChildProcess() {
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    if (outFd >= 0)
        close(outFd);
    if (errFd >= 0)
        close(errFd);
}

bool ChildProcess::signal(int signal) {
    return child > 0 && kill(child, signal) == 0;
}

bool ChildProcess::waitForOutput(const std::string &text, double limitSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    while (early.out.find(text) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (left.count() <= 0 || (outFd < 0 && errFd < 0) ||
            poll(fds, 2, static_cast<int>(left.count())) <= 0)
            return false;
        std::string *sinks[2] = {&early.out, &early.err};
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                sinks[i]->append(buffer, static_cast<size_t>(n));
            else if (fds[i].fd == outFd)
                return false; // the child closed its output: the text will not come
        }
    }
    return true;
}

ChildResult ChildProcess::finish(double limitSeconds) {
    ChildResult result = early;
    early = ChildResult();
    if (child <= 0)
        return result;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string *sinks[2] = {&result.out, &result.err};
    int open = 2;
    bool killed = false;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(child, SIGKILL);
            killed = true;
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    close(outFd);
    close(errFd);
    outFd = errFd = -1;
    int status = 0;
    waitpid(child, &status, 0);
    child = -1;
    if (!killed && WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    if (!killed && WIFSIGNALED(status))
        result.termSignal = WTERMSIG(status);
    return result;
}

ChildResult runChild(const std::string &program, const std::vector<std::string> &args,
                     const std::string &workDir, double limitSeconds,
                     const std::vector<std::string> &envChanges) {
    ChildProcess child(program, args, workDir, envChanges);
    return child.finish(limitSeconds);
}
