// Process and session on Windows.
#include <windows.h>

#include "platform/process.h"

#include "platform/win32.h"

#include <cstdlib>
#include <psapi.h>
#include <shellapi.h>

namespace {

UINT gPreviousOutputCodePage = 0;

void restoreOutputCodePage() {
    if (gPreviousOutputCodePage != 0)
        SetConsoleOutputCP(gPreviousOutputCodePage);
}

} // namespace

std::vector<std::string> programArguments(int, char **) {
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    if (!arguments)
        return result;
    for (int i = 1; i < count; ++i)
        result.push_back(platform::win32::utf8(arguments[i]));
    LocalFree(arguments);
    return result;
}

void useUtf8Console() {
    // The console's code page belongs to the console, which outlives this program: it is set
    // back at exit so that the shell and later programs see what they saw before.
    const UINT previous = GetConsoleOutputCP();
    if (previous == 0 || previous == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8))
        return;
    if (gPreviousOutputCodePage == 0) {
        gPreviousOutputCodePage = previous;
        std::atexit(restoreOutputCodePage);
    }
}

bool graphicalDisplayAvailable() {
    return true;
}

long residentKilobytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}
