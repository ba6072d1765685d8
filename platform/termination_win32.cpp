// The termination watch over console control events (Ctrl-C, Ctrl-Break, the console window
// closed) and a loopback socket pair, the descriptor that Qt's socket notifier watches on
// Windows. The end of the session reaches a GUI program as window messages, which Qt turns
// into its own requests; this watch covers a program started from a console.

#include <winsock2.h>

#include <windows.h>

#include "platform/termination.h"

#include "platform/win32.h"

#include <atomic>

namespace {

std::atomic<SOCKET> gWriteEnd{INVALID_SOCKET};
SOCKET gReadEnd = INVALID_SOCKET;
bool gWinsockStarted = false;
bool gHandlerInstalled = false;

BOOL WINAPI onConsoleControl(DWORD event) {
    const SOCKET writeEnd = gWriteEnd.load();
    if (writeEnd == INVALID_SOCKET)
        return FALSE;
    // The handler runs on a thread of its own; a full socket already holds pending requests.
    const char byte = 1;
    send(writeEnd, &byte, 1, 0);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // Windows ends the process as soon as this returns. Waiting here lets the program end
        // on its own thread (settings written) within the time the system grants; the
        // program's exit ends this thread too.
        Sleep(INFINITE);
    }
    return TRUE;
}

void closeSockets() {
    const SOCKET writeEnd = gWriteEnd.exchange(INVALID_SOCKET);
    if (writeEnd != INVALID_SOCKET)
        closesocket(writeEnd);
    if (gReadEnd != INVALID_SOCKET) {
        closesocket(gReadEnd);
        gReadEnd = INVALID_SOCKET;
    }
}

} // namespace

int startTerminationWatch() {
    if (gReadEnd != INVALID_SOCKET)
        return 0;
    WSADATA data{};
    const int started = WSAStartup(MAKEWORD(2, 2), &data);
    if (started != 0)
        return -platform::win32::errnoForError(static_cast<unsigned long>(started));
    gWinsockStarted = true;
    SOCKET readEnd = INVALID_SOCKET;
    SOCKET writeEnd = INVALID_SOCKET;
    int result = platform::win32::loopbackSocketPair(&readEnd, &writeEnd);
    if (result == 0) {
        gReadEnd = readEnd;
        gWriteEnd.store(writeEnd);
        if (SetConsoleCtrlHandler(onConsoleControl, TRUE)) {
            gHandlerInstalled = true;
        } else {
            result = -platform::win32::errnoForError(GetLastError());
        }
    }
    if (result != 0)
        stopTerminationWatch();
    return result;
}

std::intptr_t terminationNotifier() {
    return gReadEnd == INVALID_SOCKET ? -1 : static_cast<std::intptr_t>(gReadEnd);
}

int takeTerminationRequests() {
    if (gReadEnd == INVALID_SOCKET)
        return 0;
    int count = 0;
    char bytes[64];
    for (;;) {
        const int n = recv(gReadEnd, bytes, sizeof bytes, 0);
        if (n <= 0)
            break; // empty (WSAEWOULDBLOCK); the write end never closes while armed
        count += n;
    }
    return count;
}

void stopTerminationWatch() {
    if (gHandlerInstalled) {
        SetConsoleCtrlHandler(onConsoleControl, FALSE);
        gHandlerInstalled = false;
    }
    closeSockets();
    if (gWinsockStarted) {
        WSACleanup();
        gWinsockStarted = false;
    }
}
