// Text conversion, system messages and Wine's port mapping for the Windows files.
#include "platform/win32.h"

#include "platform/rs232.h"

#include <cerrno>
#include <windows.h>

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

} // namespace platform::win32
