// Runs trz4ctl as a child process in a given directory and collects what it prints.
#pragma once

#include <string>
#include <vector>

struct ChildResult {
    int exitStatus = -1; // the exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

// Runs program with args in workDir (inheriting the environment), with stdin at /dev/null.
// A child that runs longer than limitSeconds is killed and reported with exitStatus -1.
ChildResult runChild(const std::string &program, const std::vector<std::string> &args,
                     const std::string &workDir, double limitSeconds = 20.0);
