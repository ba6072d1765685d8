// The termination watch over console control events (Ctrl-C, Ctrl-Break, the console window
// closed) and a loopback socket pair, the descriptor that Qt's socket notifier watches on
// Windows. The end of the session reaches a GUI program as window messages, which Qt turns
// into its own requests; this watch covers a program started from a console.

#include <winsock2.h>

#include <windows.h>

#include "platform/termination.h"

#include "platform/win32.h"

#include <atomic>
#include <cerrno>
#include <ws2tcpip.h>

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

int socketFailure() {
    return -platform::win32::errnoForError(static_cast<unsigned long>(WSAGetLastError()));
}

SOCKET newSocket() {
    // Not inherited: the pair stays out of programs this process starts.
    return WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
}

// A connected pair of loopback sockets, as socketpair() gives on POSIX. The accepted end must
// be this process's own other end: a program that connected first is refused.
int makeSocketPair(SOCKET *readEnd, SOCKET *writeEnd) {
    SOCKET listener = newSocket();
    if (listener == INVALID_SOCKET)
        return socketFailure();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    SOCKET client = INVALID_SOCKET;
    SOCKET server = INVALID_SOCKET;
    int result = 0;
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
        (client = newSocket()) == INVALID_SOCKET ||
        connect(client, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        result = socketFailure();
    } else {
        sockaddr_in peer{};
        sockaddr_in own{};
        int peerLength = sizeof peer;
        int ownLength = sizeof own;
        server = accept(listener, reinterpret_cast<sockaddr *>(&peer), &peerLength);
        if (server == INVALID_SOCKET ||
            getsockname(client, reinterpret_cast<sockaddr *>(&own), &ownLength) != 0) {
            result = socketFailure();
        } else if (peer.sin_port != own.sin_port || peer.sin_addr.s_addr != own.sin_addr.s_addr) {
            result = -EACCES;
        }
    }
    closesocket(listener);
    u_long nonBlocking = 1;
    BOOL noDelay = TRUE;
    if (result == 0 && (ioctlsocket(server, FIONBIO, &nonBlocking) != 0 ||
                        ioctlsocket(client, FIONBIO, &nonBlocking) != 0 ||
                        setsockopt(client, IPPROTO_TCP, TCP_NODELAY,
                                   reinterpret_cast<const char *>(&noDelay), sizeof noDelay) != 0))
        result = socketFailure();
    if (result != 0) {
        if (server != INVALID_SOCKET)
            closesocket(server);
        if (client != INVALID_SOCKET)
            closesocket(client);
        return result;
    }
    *readEnd = server;
    *writeEnd = client;
    return 0;
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
    int result = makeSocketPair(&readEnd, &writeEnd);
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
