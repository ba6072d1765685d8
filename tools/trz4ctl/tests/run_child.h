// Runs a program as a child process in a given directory and collects what it prints.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct ChildResult {
    int exitStatus = -1; // the exit status, or -1 when the child did not exit normally
    int termSignal = 0;  // the signal that ended the child, 0 when it exited
    std::string out;
    std::string err;
};

// A child started in the background, for tests that act on it while it runs (send a signal).
// Its stdout and stderr go to pipes that finish() reads; stdin is /dev/null.
class ChildProcess {
public:
    // Starts program with args in workDir. The environment is this process's, changed by
    // envChanges: "NAME=value" sets a variable, "NAME" alone removes it. pid() is -1 when the
    // child could not be started.
    ChildProcess(const std::string &program, const std::vector<std::string> &args,
                 const std::string &workDir, const std::vector<std::string> &envChanges = {});
    // A child still running is killed and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    pid_t pid() const { return child; }
    // Sends signal to the child; false when it is gone or was never started.
    bool signal(int signal);
    // Reads the output while the child runs until stdout holds `text` (true) or limitSeconds
    // pass or the output ends (false). What was read is kept for finish() and outSoFar().
    bool waitForOutput(const std::string &text, double limitSeconds);
    const std::string &outSoFar() const { return early.out; }
    // Reads the output until the child ends and reaps it. A child that runs longer than
    // limitSeconds is killed and reported with exitStatus -1.
    ChildResult finish(double limitSeconds = 20.0);

private:
    pid_t child = -1;
    int outFd = -1;
    int errFd = -1;
    ChildResult early; // output read by waitForOutput
};

// Runs program with args in workDir, with stdin at /dev/null; the environment is changed by
// envChanges as for ChildProcess. A child that runs longer than limitSeconds is killed and
// reported with exitStatus -1.
ChildResult runChild(const std::string &program, const std::vector<std::string> &args,
                     const std::string &workDir, double limitSeconds = 20.0,
                     const std::vector<std::string> &envChanges = {});
