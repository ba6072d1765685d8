// The parts of the file operations that are the same on every system: path splitting, the
// test seams and the results of a rename.
#include "platform/files.h"
#include "platform/files_internal.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>

namespace {

platform::detail::FileFaultPlan gFault;
void (*gBeforeHoldHook)(const char *, void *) = nullptr;
void *gBeforeHoldData = nullptr;

} // namespace

namespace platform::detail {

const FileFaultPlan &fileFault() {
    return gFault;
}

bool injectedFault(FileFault kind) {
    if (fileFault().fault != kind) {
        return false;
    }
    errno = fileFault().error;
    return true;
}

void runBeforeHoldHook(const char *path) {
    if (gBeforeHoldHook) {
        gBeforeHoldHook(path, gBeforeHoldData);
    }
}

int renameResultForErrno(int error) {
    switch (error) {
    case 0:
        return 0;
    case ENOENT:
    case ENOTDIR:
        return -1;
    case EEXIST:
    case ENOTEMPTY:
        return -2;
    case EIO:
        return -3;
    case ENOMEM:
        return -4;
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
    case EXDEV:
    case EFAULT:
        return -5;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return -6;
    case EISDIR:
        return -7;
    case ENOSPC:
        return -8;
    default:
        return -3;
    }
}

} // namespace platform::detail

void setFileFaultForTesting(FileFault fault, int errnoValue, long afterBytes) {
    gFault = platform::detail::FileFaultPlan{fault, errnoValue, afterBytes};
}

void setBeforeHoldHookForTesting(void (*hook)(const char *path, void *data), void *data) {
    gBeforeHoldHook = hook;
    gBeforeHoldData = data;
}

void SplitPath(const char *path, char *drive, char *directory, char *fileName) {
    if (!path) {
        for (char *part : {drive, directory, fileName}) {
            if (part) {
                part[0] = '\0';
            }
        }
        return;
    }
    const size_t driveLength = platform::detail::pathDriveLength(path);
    if (drive) {
        std::memcpy(drive, path, driveLength);
        drive[driveLength] = '\0';
    }
    const char *rest = path + driveLength;
    const char *separator = nullptr;
    for (const char *p = rest; *p; ++p) {
        if (platform::detail::isPathSeparator(*p)) {
            separator = p;
        }
    }
    const size_t directoryLength = separator ? static_cast<size_t>(separator - rest) + 1 : 0;
    if (directory) {
        std::memcpy(directory, rest, directoryLength);
        directory[directoryLength] = '\0';
    }
    if (fileName) {
        std::strcpy(fileName, rest + directoryLength);
    }
}

std::filesystem::path pathFromUtf8(const std::string &utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

std::string utf8FromPath(const std::filesystem::path &path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

int syncFile(FILE *stream) {
    if (!stream) {
        errno = EINVAL;
        return -1;
    }
    if (platform::detail::injectedFault(FileFault::Sync)) {
        return -1;
    }
    return platform::detail::syncStream(stream);
}

int listDirectory(const char *directory, std::vector<std::string> *names) {
    if (!directory || !names) {
        errno = EINVAL;
        return -1;
    }
    try {
        std::error_code error;
        std::filesystem::directory_iterator entry(pathFromUtf8(directory), error);
        for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
            names->push_back(utf8FromPath(entry->path().filename()));
        }
        if (error) {
            // The library's errors are errno values on both systems; anything else is a
            // failure all the same.
            errno = error.category() == std::generic_category() ? error.value() : EIO;
            return -1;
        }
    } catch (const std::bad_alloc &) {
        errno = ENOMEM;
        return -1;
    }
    return 0;
}
