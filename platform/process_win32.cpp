// Process and session on Windows.
#include <windows.h>

#include "platform/process.h"

#include "platform/win32.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <psapi.h>
#include <shellapi.h>
#include <streambuf>

namespace {

UINT gPreviousOutputCodePage = 0;

void restoreOutputCodePage() {
    if (gPreviousOutputCodePage != 0)
        SetConsoleOutputCP(gPreviousOutputCodePage);
}

// The length of the text without an incomplete UTF-8 character at its end.
size_t completeUtf8Length(const char *text, size_t length) {
    for (size_t back = 1; back <= 3 && back <= length; ++back) {
        const auto byte = static_cast<unsigned char>(text[length - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back ? length - back : length;
    }
    return length;
}

// Writes a stream's UTF-8 text to a console as UTF-16 (WriteConsoleW): every character shows,
// whatever the console's code page and however the C runtime passes bytes on. An incomplete
// character at the end of the buffer waits for its rest.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console(console) {
        setp(buffer.data(), buffer.data() + buffer.size());
    }

protected:
    int_type overflow(int_type c) override {
        if (writeOut() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return writeOut(); }

private:
    int writeOut() {
        const auto length = static_cast<size_t>(pptr() - pbase());
        const size_t complete = completeUtf8Length(pbase(), length);
        const std::wstring text = platform::win32::wide(pbase(), complete);
        DWORD written = 0;
        const bool ok =
            text.empty() ||
            WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        const size_t rest = length - complete;
        std::memmove(buffer.data(), pbase() + complete, rest);
        setp(buffer.data(), buffer.data() + buffer.size());
        pbump(static_cast<int>(rest));
        return ok ? 0 : -1;
    }

    HANDLE console;
    std::array<char, 1024> buffer{};
};

// Gives the stream a console buffer when its handle is a console.
void writeWideTo(std::ostream &stream, DWORD which) {
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return;
    stream.flush();
    // Never freed: the streams are flushed once more after every static object is gone.
    stream.rdbuf(new ConsoleBuffer(handle));
}

} // namespace

bool argvHoldsTheArguments() {
    return false;
}

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
    static bool done = false;
    if (done)
        return;
    done = true;
    // The streams write UTF-16 to a console; C's stdio passes bytes, which the console shows
    // as UTF-8 with its output code page set so. The code page belongs to the console, which
    // outlives this program: it is set back at exit.
    writeWideTo(std::cout, STD_OUTPUT_HANDLE);
    writeWideTo(std::cerr, STD_ERROR_HANDLE);
    const UINT previous = GetConsoleOutputCP();
    if (previous != 0 && previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        gPreviousOutputCodePage = previous;
        std::atexit(restoreOutputCodePage);
    }
}

namespace {

// Whether a standard handle leads to a file, a pipe or a console.
bool leadsSomewhere(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Points a standard handle and its C stream at the attached console.
void useConsoleFor(DWORD which, FILE *stream) {
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return;
    SetStdHandle(which, console);
    std::freopen("CONOUT$", "w", stream);
}

} // namespace

bool attachParentConsole() {
    const bool output = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool error = leadsSomewhere(STD_ERROR_HANDLE);
    // The console's prompt is back already (cmd does not wait for a window program), so the
    // text follows it; a parent without a console leaves both streams where they lead.
    if ((!output || !error) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!output)
            useConsoleFor(STD_OUTPUT_HANDLE, stdout);
        if (!error)
            useConsoleFor(STD_ERROR_HANDLE, stderr);
    }
    useUtf8Console();
    return leadsSomewhere(STD_ERROR_HANDLE);
}

void showMessageBox(const std::string &title, const std::string &text) {
    MessageBoxW(nullptr, platform::win32::wide(text).c_str(), platform::win32::wide(title).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

bool localTime(std::time_t moment, std::tm *local) {
    return localtime_s(local, &moment) == 0;
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
