// Process and session on POSIX systems.
#include "platform/process.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool argvHoldsTheArguments() {
    return true;
}

std::vector<std::string> programArguments(int argc, char **argv) {
    if (argc < 1 || !argv)
        return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

void useUtf8Console() {}

bool attachParentConsole() {
    return true;
}

void showMessageBox(const std::string &, const std::string &) {}

bool localTime(std::time_t moment, std::tm *local) {
    return localtime_r(&moment, local) != nullptr;
}

bool graphicalDisplayAvailable() {
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return true;
        }
    }
    return false;
}

long residentKilobytes() {
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    char line[256];
    long kilobytes = -1;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            kilobytes = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kilobytes;
}
