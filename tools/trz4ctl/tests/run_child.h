// Runs trz4ctl as a child process in a given directory and collects what it prints.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct ChildResult {
    int exitStatus = -1; // the exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

// Runs program with args in workDir, with stdin at /dev/null. The child inherits the
// environment, changed by `environment`: "NAME=value" sets a variable, "NAME" alone removes it.
// A child that runs longer than limitSeconds is killed and reported with exitStatus -1.
ChildResult runChild(const std::string &program, const std::vector<std::string> &args,
                     const std::string &workDir, double limitSeconds = 20.0,
                     const std::vector<std::string> &environment = {});

// A child that keeps running while the test reads its output, e.g. `trz4ctl ports --watch`.
class RunningChild {
public:
    // Starts program as runChild does; running() tells whether that worked.
    RunningChild(const std::string &program, const std::vector<std::string> &args,
                 const std::string &workDir, const std::vector<std::string> &environment = {});
    // Kills a child still running.
    ~RunningChild();
    RunningChild(const RunningChild &) = delete;
    RunningChild &operator=(const RunningChild &) = delete;

    bool running() const { return pid > 0; }
    // Reads output until stdout holds `text` (true) or limitSeconds pass (false).
    bool waitForOutput(const std::string &text, double limitSeconds);
    // Sends the signal and waits (at most limitSeconds, then SIGKILL) for the end; the result
    // holds everything printed. exitStatus is -1 when a signal ended the child; `signal` tells
    // which.
    ChildResult stop(int signalNumber, double limitSeconds, int *signal = nullptr);

    const std::string &out() const { return result.out; }

private:
    void readAvailable(int timeoutMs);

    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    ChildResult result;
};
