// The port watch on Windows: a registry change notification on the key the COM-port list is
// read from, HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM. A serial driver adds its value
// there when an adapter arrives and removes it when the adapter goes, so the key's values are
// the list itself; Wine implements the same notification for values that any process adds.
//
// The notification signals an event, which Qt's event loop cannot watch through a socket
// notifier. A thread of the watch's own waits for it and writes one byte into a loopback socket
// pair; the read end is the descriptor. The thread also owns the registration: Windows ties an
// asynchronous registry notification to the thread that asked for it.
#include <winsock2.h>

#include <windows.h>

#include "platform/portwatch.h"

#include "platform/win32.h"

#include <thread>

namespace {

// The key is volatile: Windows makes it when the first serial port appears, and a machine
// without any may have none. Its parent then tells when it is made.
constexpr const wchar_t *kSerialComm = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr const wchar_t *kDeviceMap = L"HARDWARE\\DEVICEMAP";

// Opens SERIALCOMM, or its parent where it does not exist, and asks for `changed` to be
// signalled at the next change of the key's values or, for the parent, of its subkeys (the
// key itself deleted counts too). Answers the key to close once the notice came, or null when
// neither key can be watched.
HKEY armNotification(HANDLE changed) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialComm, 0, KEY_NOTIFY, &key) != ERROR_SUCCESS &&
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDeviceMap, 0, KEY_NOTIFY, &key) != ERROR_SUCCESS)
        return nullptr;
    if (RegNotifyChangeKeyValue(key, FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                changed, TRUE) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return nullptr;
    }
    return key;
}

} // namespace

struct PortWatch::Impl {
    SOCKET readEnd = INVALID_SOCKET;
    SOCKET writeEnd = INVALID_SOCKET;
    HANDLE stopEvent = nullptr;
    HANDLE changedEvent = nullptr;
    HKEY key = nullptr;
    bool winsockStarted = false;
    std::thread thread;

    ~Impl() {
        if (thread.joinable()) {
            SetEvent(stopEvent);
            thread.join();
        }
        if (key)
            RegCloseKey(key);
        for (HANDLE event : {stopEvent, changedEvent})
            if (event)
                CloseHandle(event);
        for (SOCKET socket : {readEnd, writeEnd})
            if (socket != INVALID_SOCKET)
                closesocket(socket);
        if (winsockStarted)
            WSACleanup();
    }

    // Runs on the watch's thread. The notification is armed anew before the byte goes out, so
    // a change that comes while the reader reads the list raises the next notice instead of
    // being lost.
    void run() {
        const HANDLE events[] = {stopEvent, changedEvent};
        while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            HKEY next = armNotification(changedEvent);
            RegCloseKey(key);
            key = next;
            const char byte = 1;
            // A full socket already holds a pending notice.
            send(writeEnd, &byte, 1, 0);
            if (!key)
                break; // the keys went away: the watch falls quiet, as without one
        }
    }
};

PortWatch::PortWatch() = default;

PortWatch::~PortWatch() = default;

int PortWatch::start() {
    stop();
    auto next = std::make_unique<Impl>();
    WSADATA data{};
    if (const int started = WSAStartup(MAKEWORD(2, 2), &data); started != 0)
        return -platform::win32::errnoForError(static_cast<unsigned long>(started));
    next->winsockStarted = true;
    if (const int paired = platform::win32::loopbackSocketPair(&next->readEnd, &next->writeEnd);
        paired != 0)
        return paired;
    next->stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    next->changedEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!next->stopEvent || !next->changedEvent)
        return -platform::win32::errnoForError(GetLastError());
    // Armed here, before start() returns, so that a change right after it is not missed; the
    // thread takes the registration over at its first notice.
    next->key = armNotification(next->changedEvent);
    if (!next->key)
        return kPortWatchUnsupported;
    Impl *watch = next.get();
    next->thread = std::thread([watch] { watch->run(); });
    impl = std::move(next);
    return 0;
}

void PortWatch::stop() {
    impl.reset();
}

int PortWatch::descriptor() const {
    // A socket is a small handle value; Qt's socket notifier takes it as the descriptor.
    return impl ? static_cast<int>(impl->readEnd) : -1;
}

bool PortWatch::takeChanges() {
    if (!impl)
        return false;
    bool changed = false;
    char bytes[64];
    while (recv(impl->readEnd, bytes, sizeof bytes, 0) > 0)
        changed = true;
    return changed;
}

int PortWatch::waitReadable(int timeoutMs) const {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(impl->readEnd, &readable);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int ready = select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &limit);
    return ready < 0 ? -1 : ready;
}
