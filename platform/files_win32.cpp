// Windows implementation of the file operations: wide paths at the system's calls, CREATE_NEW
// for exclusive creation, share mode 0 as the hold of a temporary file, and the renames and
// removals of a held file through its own handle.

#include <windows.h>

#include "platform/files.h"
#include "platform/files_internal.h"
#include "platform/win32.h"

#include <accctrl.h>
#include <aclapi.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace win32 = platform::win32;
using platform::detail::fileFault;
using platform::detail::injectedFault;
using platform::detail::isPathSeparator;

namespace {

std::wstring widePath(const char *path) {
    return win32::wide(path, std::strlen(path));
}

void setErrnoFrom(DWORD error) {
    errno = win32::errnoForError(error);
}

// Names that Windows opens as devices wherever they stand: CON, PRN, AUX, NUL, COM1-9 and
// LPT1-9 (with any extension, trailing blanks ignored), the console's CONIN$ and CONOUT$, and
// everything in the device namespace \\.\. Opening a serial port as a "file" would change its
// lines, so such a name is never opened here.
bool namesDevice(const std::string &path) {
    if (path.size() >= 4 && isPathSeparator(path[0]) && isPathSeparator(path[1]) &&
        path[2] == '.' && isPathSeparator(path[3]))
        return true;
    size_t start = path.find_last_of("\\/:");
    start = start == std::string::npos ? 0 : start + 1;
    std::string base = path.substr(start, path.find('.', start) - start);
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char &c : base)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

bool attributesOf(const char *path, WIN32_FILE_ATTRIBUTE_DATA *data) {
    return GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, data) != 0;
}

bool isDirectory(const char *path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return attributesOf(path, &data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

HANDLE handleOf(FILE *stream) {
    const int fd = _fileno(stream);
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

DWORD accessForMode(const char *mode) {
    const bool update = std::strchr(mode, '+') != nullptr;
    if (update)
        return GENERIC_READ | GENERIC_WRITE;
    return mode[0] == 'r' ? GENERIC_READ : GENERIC_WRITE;
}

// A stdio stream over the handle; on failure the handle is closed and errno set.
FILE *streamOverHandle(HANDLE handle, const char *mode) {
    int flags = 0;
    if (std::strchr(mode, '+') == nullptr && mode[0] == 'r')
        flags |= _O_RDONLY;
    if (mode[0] == 'a')
        flags |= _O_APPEND;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        const int error = errno;
        CloseHandle(handle);
        errno = error;
        return nullptr;
    }
    FILE *stream = _fdopen(fd, mode);
    if (!stream) {
        const int error = errno;
        _close(fd);
        errno = error;
    }
    return stream;
}

// Creates the file with CREATE_NEW: a name that exists, as a file, a directory or a link, is
// never opened. shareMode 0 makes the creating handle the file's hold.
FILE *createNew(const char *path, const char *mode, DWORD shareMode, DWORD extraAccess) {
    if (!path || !mode) {
        errno = EINVAL;
        return nullptr;
    }
    if (injectedFault(FileFault::Create)) {
        return nullptr;
    }
    // WRITE_DAC: copyFilePermissions gives the new file the access list of the one it replaces.
    HANDLE handle =
        CreateFileW(widePath(path).c_str(), accessForMode(mode) | WRITE_DAC | extraAccess,
                    shareMode, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        WIN32_FILE_ATTRIBUTE_DATA data{};
        // A directory under the name is refused as access denied: the name is taken all the same.
        if (error == ERROR_ACCESS_DENIED && attributesOf(path, &data))
            errno = EEXIST;
        else
            setErrnoFrom(error);
        return nullptr;
    }
    FILE *stream = streamOverHandle(handle, mode);
    if (!stream) {
        const int error = errno;
        DeleteFileW(widePath(path).c_str());
        errno = error;
    }
    return stream;
}

// The rename's result for a system error, as RenameFile reports it.
int renameFailure(DWORD error, const char *source, const char *target) {
    const int reason = win32::errnoForError(error);
    // Windows refuses to replace a directory with "access denied"; POSIX tells the cases apart.
    const int result = isDirectory(target) ? (isDirectory(source) ? -2 : -7)
                                           : platform::detail::renameResultForErrno(reason);
    errno = reason;
    return result;
}

// The path in the system's own form ("\??\C:\dir\name"), as a rename through a handle wants it.
std::wstring systemPath(const char *path) {
    const std::wstring given = widePath(path);
    const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    full.resize(length);
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return L"\\??\\" + full.substr(4);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

// FileRenameInfoEx (Windows 10 1607 and later), which the compiler's headers declare only for a
// later target version than the one this program is built for.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

bool markForDeletion(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

} // namespace

namespace platform::detail {

bool isPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// "C:" gives 2, anything else 0.
size_t pathDriveLength(const char *path) {
    const unsigned char first = static_cast<unsigned char>(path[0]);
    return ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) && path[1] == ':' ? 2
                                                                                                : 0;
}

} // namespace platform::detail

int GetFileInfo(const char *path, long *fileSize) {
    if (fileSize) {
        *fileSize = 0;
    }
    if (!path) {
        return -1;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributesOf(path, &data)) {
        const DWORD error = GetLastError();
        // A missing entry, or a missing directory on the way to it, is a plain "does not
        // exist"; anything else means the system could not look.
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? 0 : -1;
    }
    if (fileSize && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const unsigned long long size =
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        // long has 32 bits on Windows.
        *fileSize =
            size > static_cast<unsigned long long>(LONG_MAX) ? LONG_MAX : static_cast<long>(size);
    }
    return 1;
}

int RenameFile(const char *source, const char *target) {
    if (!source || !target) {
        return -5;
    }
    if (injectedFault(FileFault::Rename)) {
        return platform::detail::renameResultForErrno(fileFault().error);
    }
    if (MoveFileExW(widePath(source).c_str(), widePath(target).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    return renameFailure(GetLastError(), source, target);
}

FILE *openNewFileExclusive(const char *path, const char *mode) {
    return createNew(path, mode, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
}

FILE *openNewFileHeld(const char *path, const char *mode) {
    // Share mode 0 holds the file from its creation on, so there is no moment in which a
    // cleaner could take it; DELETE lets the holder rename and remove it through its handle.
    FILE *stream = createNew(path, mode, 0, DELETE);
    if (stream) {
        platform::detail::runBeforeHoldHook(path);
    }
    return stream;
}

int removeUnheldFile(const char *path) {
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    // Share mode 0 again: the open fails while a writer holds the file, and while the cleaner
    // holds it no one else can open, rename or remove it. A link is opened as itself.
    HANDLE handle =
        CreateFileW(widePath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                    0, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int result = 0;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
        !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        // The leftover carries the attributes of the file it was to replace; a read-only one
        // cannot be removed until that attribute is gone.
        if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
            FILE_BASIC_INFO basic{};
            basic.FileAttributes =
                (info.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL;
            SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
        }
        if (markForDeletion(handle)) {
            result = 1;
        } else {
            setErrnoFrom(GetLastError());
            result = -1;
        }
    }
    const int error = errno;
    CloseHandle(handle);
    errno = error;
    return result;
}

int renameHeldFile(FILE *stream, const char *source, const char *target) {
    if (!stream || !source || !target) {
        return -5;
    }
    if (injectedFault(FileFault::Rename)) {
        return platform::detail::renameResultForErrno(fileFault().error);
    }
    const HANDLE handle = handleOf(stream);
    const std::wstring name = systemPath(target);
    if (handle == INVALID_HANDLE_VALUE || name.empty()) {
        return -5;
    }
    // FILE_RENAME_INFO ends in the name; the structure is allocated with room for all of it.
    const size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto *info = reinterpret_cast<FILE_RENAME_INFO *>(buffer.data());
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, name.data(), nameBytes);
    // POSIX semantics (Windows 10 1809 and later, NTFS) replace a file that a reader has open;
    // without them such a replace is refused. Systems and file systems that do not know them
    // get the plain rename.
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    const auto size = static_cast<DWORD>(buffer.size());
    if (!SetFileInformationByHandle(handle, kFileRenameInfoEx, info, size)) {
        const DWORD error = GetLastError();
        if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED &&
            error != ERROR_INVALID_FUNCTION && error != ERROR_CALL_NOT_IMPLEMENTED) {
            return renameFailure(error, source, target);
        }
        info->Flags = 0;
        info->ReplaceIfExists = TRUE;
        if (!SetFileInformationByHandle(handle, FileRenameInfo, info, size)) {
            return renameFailure(GetLastError(), source, target);
        }
    }
    // Commits the file's record with its new name; the rename has happened whatever this says.
    FlushFileBuffers(handle);
    return 0;
}

int removeHeldFile(FILE *stream, const char *path) {
    if (!stream || !path) {
        errno = EINVAL;
        return -1;
    }
    const HANDLE handle = handleOf(stream);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    // The file goes when its last handle closes: the caller's close of the stream.
    if (!markForDeletion(handle)) {
        setErrnoFrom(GetLastError());
        return -1;
    }
    return 0;
}

int removeFile(const char *path) {
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    if (!DeleteFileW(widePath(path).c_str())) {
        setErrnoFrom(GetLastError());
        return -1;
    }
    return 0;
}

FILE *openFile(const char *path, const char *mode) {
    if (!path || !mode) {
        errno = EINVAL;
        return nullptr;
    }
    return _wfopen(widePath(path).c_str(), win32::wide(mode).c_str());
}

int isRegularFile(const char *path) {
    if (!path || namesDevice(path)) {
        return 0;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributesOf(path, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return 0;
    }
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return 1;
    }
    // A link: what it leads to counts. Opening for its attributes only reads no data.
    HANDLE handle = CreateFileW(widePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool regular = GetFileType(handle) == FILE_TYPE_DISK &&
                         GetFileInformationByHandle(handle, &info) &&
                         !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(handle);
    return regular ? 1 : 0;
}

FileOpenResult openRegularFileForReading(const char *path, long long maxSize, FILE **stream) {
    if (stream) {
        *stream = nullptr;
    }
    if (!path || !stream) {
        errno = EINVAL;
        return FileOpenResult::CannotOpen;
    }
    // Look first, so that a device (a serial port!) is never opened at all.
    if (namesDevice(path)) {
        return FileOpenResult::NotRegularFile;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributesOf(path, &data)) {
        setErrnoFrom(GetLastError());
        return FileOpenResult::CannotOpen;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return FileOpenResult::NotRegularFile;
    }
    // Every sharing is allowed, so that reading never stands in the way of a writer that
    // replaces the file meanwhile.
    HANDLE handle = CreateFileW(widePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        setErrnoFrom(GetLastError());
        return FileOpenResult::CannotOpen;
    }
    FileOpenResult result = FileOpenResult::Opened;
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        result = FileOpenResult::NotRegularFile;
    } else if (!GetFileInformationByHandle(handle, &info) || !GetFileSizeEx(handle, &size)) {
        setErrnoFrom(GetLastError());
        result = FileOpenResult::CannotOpen;
    } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        result = FileOpenResult::NotRegularFile;
    } else if (size.QuadPart > maxSize) {
        result = FileOpenResult::TooLarge;
    }
    if (result != FileOpenResult::Opened) {
        const int error = errno;
        CloseHandle(handle);
        errno = error;
        return result;
    }
    *stream = streamOverHandle(handle, "rb");
    return *stream ? FileOpenResult::Opened : FileOpenResult::CannotOpen;
}

int resolveFileLinks(const char *path, std::string *target) {
    if (!path || !target) {
        errno = EINVAL;
        return -1;
    }
    *target = path;
    return 0;
}

int copyFilePermissions(const char *path, FILE *stream) {
    if (!path || !stream) {
        errno = EINVAL;
        return -1;
    }
    std::wstring name = widePath(path);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD error = GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                        nullptr, nullptr, &dacl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        setErrnoFrom(error);
        return -1;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    // An access list that inherits nothing is copied as such; otherwise the file inherits from
    // the same directory as the one it replaces and takes that file's own entries.
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
    error =
        SetSecurityInfo(handleOf(stream), SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    if (error != ERROR_SUCCESS) {
        setErrnoFrom(error);
        return -1;
    }
    return 0;
}

int platform::detail::syncStream(FILE *stream) {
    if (!FlushFileBuffers(handleOf(stream))) {
        setErrnoFrom(GetLastError());
        return -1;
    }
    return 0;
}

int syncDirectoryOf(const char *path) {
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    // Directories cannot be flushed by an ordinary user; NTFS journals the rename itself. What
    // is left to check is that the directory is there.
    std::vector<char> drive(std::strlen(path) + 1);
    std::vector<char> directory(std::strlen(path) + 1);
    SplitPath(path, drive.data(), directory.data(), nullptr);
    const std::string folder = std::string(drive.data()) + directory.data();
    if (!isDirectory(folder.empty() ? "." : folder.c_str())) {
        errno = ENOENT;
        return -1;
    }
    return 0;
}
