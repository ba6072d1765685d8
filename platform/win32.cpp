// Text conversion, system messages and Wine's port mapping for the Windows files.
#include "platform/win32.h"

#include "platform/rs232.h"

#include <winsock2.h>

#include <windows.h>

#include <cerrno>
#include <iterator>
#include <setupapi.h>
#include <ws2tcpip.h>

namespace platform::win32 {

std::wstring wide(const char *text, size_t length) {
    if (length == 0)
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(length), result.data(), size);
    return result;
}

std::wstring wide(const std::string &text) {
    return wide(text.data(), text.size());
}

std::string utf8(const wchar_t *text, size_t length) {
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), result.data(), size,
                            nullptr, nullptr);
    return result;
}

std::string utf8(const std::wstring &text) {
    return utf8(text.data(), text.size());
}

namespace {

// The system's message in the language `languageId` (0: the user's), "" when it has none.
std::string messageIn(unsigned long error, DWORD languageId) {
    const DWORD flags =
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(flags, nullptr, error, languageId,
                                        reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::string message = length > 0 && buffer ? utf8(buffer, length) : std::string();
    if (buffer)
        LocalFree(buffer);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

} // namespace

std::string systemMessage(unsigned long error) {
    return messageIn(error, 0);
}

std::string englishSystemMessage(unsigned long error) {
    const std::string english = messageIn(error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    return english.empty() ? systemMessage(error) : english;
}

void addSystemError(OpenFailure *failure, unsigned long error) {
    failure->systemError = static_cast<long>(error);
    failure->systemMessage = systemMessage(error);
    failure->systemMessageEnglish = englishSystemMessage(error);
}

int errnoForError(unsigned long error) {
    switch (error) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_PATHNAME:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
    case ERROR_CANT_RESOLVE_FILENAME:
        return EINVAL;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    default:
        return EIO;
    }
}

int comOpenFailure(unsigned long error, int port, const std::string &device, OpenFailure *failure) {
    using platform::detail::makeOpenFailure;
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        *failure = makeOpenFailure(OpenFailureKind::Busy, port, device);
        addSystemError(failure, error);
        failure->systemMessage = "Windows: " + failure->systemMessage;
        failure->systemMessageEnglish = "Windows: " + failure->systemMessageEnglish;
        return kComBusy;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_INVALID_NAME:
        *failure = makeOpenFailure(OpenFailureKind::MissingDevice, port, device);
        return kComNoDevice;
    default:
        *failure = makeOpenFailure(OpenFailureKind::SystemError, port, device);
        addSystemError(failure, error);
        return kComSystemError;
    }
}

std::string wineComPortDevice(int port) {
    if (port < 1 || port > 256)
        return {};
    const std::wstring name = L"COM" + std::to_wstring(port);
    wchar_t device[512];
    DWORD size = sizeof device;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Wine\\Ports", name.c_str(), RRF_RT_REG_SZ,
                     nullptr, device, &size) != ERROR_SUCCESS)
        return {};
    return utf8(device);
}

bool wineMapsComPortToPseudoTerminal(int port) {
    return wineComPortDevice(port).rfind("/dev/pts/", 0) == 0;
}

std::map<int, std::string> friendlyNamesByNumber(const std::vector<PortDevice> &devices) {
    std::map<int, std::string> names;
    for (const PortDevice &device : devices) {
        const std::wstring &port = device.portName;
        if (device.friendlyName.empty() || port.size() < 4 || port.size() > 6 ||
            port.compare(0, 3, L"COM") != 0)
            continue;
        int number = 0;
        for (size_t i = 3; i < port.size() && number >= 0; ++i)
            number = port[i] >= L'0' && port[i] <= L'9' ? number * 10 + (port[i] - L'0') : -1;
        if (number >= 1 && number <= 256)
            names.emplace(number, utf8(device.friendlyName));
    }
    return names;
}

namespace {

// The device setup class "Ports (COM & LPT)".
constexpr GUID kPortsClass = {
    0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// A string value of a device's registry key, or "" where it has none.
std::wstring deviceKeyString(HDEVINFO set, SP_DEVINFO_DATA *device, const wchar_t *name) {
    HKEY key = SetupDiOpenDevRegKey(set, device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t value[256];
    DWORD size = sizeof value;
    const LSTATUS status = RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::wstring(value) : std::wstring();
}

std::wstring friendlyNameOf(HDEVINFO set, SP_DEVINFO_DATA *device) {
    wchar_t name[512];
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, device, SPDRP_FRIENDLYNAME, &type,
                                           reinterpret_cast<BYTE *>(name), sizeof name - 2,
                                           nullptr) ||
        type != REG_SZ)
        return {};
    name[std::size(name) - 1] = L'\0';
    return name;
}

} // namespace

std::map<int, std::string> comPortFriendlyNames() {
    HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return {};
    std::vector<PortDevice> devices;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index)
        devices.push_back(
            {deviceKeyString(set, &device, L"PortName"), friendlyNameOf(set, &device)});
    SetupDiDestroyDeviceInfoList(set);
    return friendlyNamesByNumber(devices);
}

namespace {

int socketFailure() {
    return -errnoForError(static_cast<unsigned long>(WSAGetLastError()));
}

SOCKET newSocket() {
    // Not inherited: the pair stays out of programs this process starts.
    return WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
}

} // namespace

// The accepted end must be this process's own other end: a program that connected first is
// refused.
int loopbackSocketPair(std::uintptr_t *readEnd, std::uintptr_t *writeEnd) {
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

} // namespace platform::win32
