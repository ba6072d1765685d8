// POSIX implementation of the file operations.

#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FaultPlan {
    FileFault fault = FileFault::None;
    int error = 0;
    long afterBytes = 0;
};
FaultPlan gFault;

// A stream whose writes fail once a number of bytes went through: how a full disk or a
// failing device looks to the writer. Built with fopencookie over the real descriptor.
struct FailingWriter {
    int fd;
    long bytesLeft;
    int error;
};

ssize_t failingWrite(void *cookie, const char *data, size_t size) {
    auto *w = static_cast<FailingWriter *>(cookie);
    if (w->bytesLeft <= 0) {
        errno = w->error;
        return -1;
    }
    const size_t allowed =
        size < static_cast<size_t>(w->bytesLeft) ? size : static_cast<size_t>(w->bytesLeft);
    const ssize_t written = ::write(w->fd, data, allowed);
    if (written > 0) {
        w->bytesLeft -= written;
    }
    // stdio takes a short count from a cookie stream as the failure itself, so the reason
    // must already be in errno.
    if (written >= 0 && static_cast<size_t>(written) < size) {
        errno = w->error;
    }
    return written;
}

int failingClose(void *cookie) {
    auto *w = static_cast<FailingWriter *>(cookie);
    const int result = ::close(w->fd);
    delete w;
    return result;
}

int openFlagsForMode(const char *mode) {
    const bool update = std::strchr(mode, '+') != nullptr;
    int flags = O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW;
    if (mode[0] == 'a') {
        flags |= O_APPEND;
    }
    flags |= update ? O_RDWR : O_WRONLY;
    return flags;
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
    case EDQUOT:
        return -8;
    default:
        return -3;
    }
}

} // namespace

int GetFileInfo(const char *path, long *fileSize) {
    if (fileSize) {
        *fileSize = 0;
    }
    if (!path) {
        return -1;
    }
    struct stat info {};
    if (::stat(path, &info) != 0) {
        // A missing entry, or a missing directory on the way to it, is a plain "does not
        // exist"; anything else means the system could not look.
        return (errno == ENOENT || errno == ENOTDIR) ? 0 : -1;
    }
    if (fileSize && S_ISREG(info.st_mode)) {
        *fileSize = static_cast<long>(info.st_size);
    }
    return 1;
}

void SplitPath(const char *path, char *drive, char *directory, char *fileName) {
    if (drive) {
        drive[0] = '\0';
    }
    if (!path) {
        if (directory) {
            directory[0] = '\0';
        }
        if (fileName) {
            fileName[0] = '\0';
        }
        return;
    }
    const char *slash = std::strrchr(path, '/');
    const size_t dirLength = slash ? static_cast<size_t>(slash - path) + 1 : 0;
    if (directory) {
        std::memcpy(directory, path, dirLength);
        directory[dirLength] = '\0';
    }
    if (fileName) {
        std::strcpy(fileName, path + dirLength);
    }
}

int RenameFile(const char *source, const char *target) {
    if (!source || !target) {
        return -5;
    }
    if (gFault.fault == FileFault::Rename) {
        return renameResultForErrno(gFault.error);
    }
    if (::rename(source, target) == 0) {
        return 0;
    }
    return renameResultForErrno(errno);
}

FILE *openNewFileExclusive(const char *path, const char *mode) {
    if (!path || !mode) {
        errno = EINVAL;
        return nullptr;
    }
    if (gFault.fault == FileFault::Create) {
        errno = gFault.error;
        return nullptr;
    }
    const int fd = ::open(path, openFlagsForMode(mode), 0666);
    if (fd < 0) {
        return nullptr;
    }
    if (gFault.fault == FileFault::Write) {
        auto *writer = new FailingWriter{fd, gFault.afterBytes, gFault.error};
        cookie_io_functions_t io{};
        io.write = failingWrite;
        io.close = failingClose;
        FILE *stream = ::fopencookie(writer, mode, io);
        if (!stream) {
            const int error = errno;
            delete writer;
            ::close(fd);
            ::unlink(path);
            errno = error;
        }
        return stream;
    }
    FILE *stream = ::fdopen(fd, mode);
    if (!stream) {
        const int error = errno;
        ::close(fd);
        ::unlink(path);
        errno = error;
    }
    return stream;
}

int copyFilePermissions(const char *path, FILE *stream) {
    struct stat info {};
    if (!path || !stream || ::stat(path, &info) != 0) {
        return -1;
    }
    const int fd = ::fileno(stream);
    struct stat own {};
    if (fd < 0 || ::fstat(fd, &own) != 0) {
        return -1;
    }
    if ((own.st_mode & 07777) == (info.st_mode & 07777)) {
        return 0;
    }
    return ::fchmod(fd, info.st_mode & 07777) == 0 ? 0 : -1;
}

int syncFile(FILE *stream) {
    if (!stream) {
        errno = EINVAL;
        return -1;
    }
    if (gFault.fault == FileFault::Sync) {
        errno = gFault.error;
        return -1;
    }
    const int fd = ::fileno(stream);
    if (fd < 0) {
        // A stream without a descriptor of its own (the test writer) has nothing to sync.
        return 0;
    }
    return ::fsync(fd) == 0 ? 0 : -1;
}

int syncDirectoryOf(const char *path) {
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    // The directory part of the path: "." without a slash, "/" for a file in the root.
    const char *slash = std::strrchr(path, '/');
    const size_t length = slash ? static_cast<size_t>(slash - path) : 0;
    const std::string directory(slash ? (length > 0 ? path : "/") : ".",
                                slash && length > 0 ? length : 1);
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return result == 0 ? 0 : -1;
}

void setFileFaultForTesting(FileFault fault, int errnoValue, long afterBytes) {
    gFault = FaultPlan{fault, errnoValue, afterBytes};
}
