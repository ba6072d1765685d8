// POSIX implementation of the file operations.

#include "platform/files.h"
#include "platform/files_internal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using platform::detail::fileFault;
using platform::detail::injectedFault;

namespace {

// Links followed before resolveFileLinks gives up, as the kernel's own limit.
constexpr int kMaxLinksFollowed = 40;

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

// A full quota is a full disk to the writer.
int renameResultForErrno(int error) {
    return platform::detail::renameResultForErrno(error == EDQUOT ? ENOSPC : error);
}

// The stream over a freshly created file; on failure the descriptor is closed and the file
// removed again.
FILE *streamOverNewFile(int fd, const char *path, const char *mode) {
    if (fileFault().fault == FileFault::Write) {
        auto *writer = new FailingWriter{fd, fileFault().afterBytes, fileFault().error};
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

int createExclusive(const char *path, const char *mode) {
    if (!path || !mode) {
        errno = EINVAL;
        return -1;
    }
    if (injectedFault(FileFault::Create)) {
        return -1;
    }
    return ::open(path, openFlagsForMode(mode), 0666);
}

bool sameFile(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name still names the open file: a cleaner may have removed the file (and
// someone may have created another under the name) since it was opened.
bool nameStillNames(const char *path, int fd) {
    struct stat own {};
    struct stat named {};
    return ::fstat(fd, &own) == 0 && ::lstat(path, &named) == 0 && sameFile(own, named);
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

namespace platform::detail {

size_t pathDriveLength(const char *) {
    return 0;
}

bool isPathSeparator(char c) {
    return c == '/';
}

} // namespace platform::detail

int RenameFile(const char *source, const char *target) {
    if (!source || !target) {
        return -5;
    }
    if (injectedFault(FileFault::Rename)) {
        return renameResultForErrno(fileFault().error);
    }
    if (::rename(source, target) == 0) {
        return 0;
    }
    return renameResultForErrno(errno);
}

FILE *openNewFileExclusive(const char *path, const char *mode) {
    const int fd = createExclusive(path, mode);
    if (fd < 0) {
        return nullptr;
    }
    return streamOverNewFile(fd, path, mode);
}

FILE *openNewFileHeld(const char *path, const char *mode) {
    const int fd = createExclusive(path, mode);
    if (fd < 0) {
        return nullptr;
    }
    platform::detail::runBeforeHoldHook(path);
    // Never waits: a hold that another process has is a cleaner about to remove this file.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            ::close(fd);
            errno = EEXIST;
            return nullptr;
        }
        // No locks on this file system: the file stays unheld, and cleaners cannot take a
        // hold on it either, so they leave it alone.
    }
    // Between the create and the hold a cleaner may have found the file unheld and removed
    // it; the name is then free or someone else's, and neither is touched.
    if (!nameStillNames(path, fd)) {
        ::close(fd);
        errno = EEXIST;
        return nullptr;
    }
    return streamOverNewFile(fd, path, mode);
}

int removeUnheldFile(const char *path) {
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    // O_NONBLOCK: a FIFO planted under the name must not stall the cleaner. A write-only
    // file (its permission bits copied from the file it was to replace) is tried for writing.
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path, O_RDONLY | flags);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(path, O_WRONLY | flags);
    }
    if (fd < 0) {
        return 0;
    }
    struct stat own {};
    int result = 0;
    if (::fstat(fd, &own) == 0 && S_ISREG(own.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        nameStillNames(path, fd)) {
        // Holding the file keeps every other cleaner away from it, and a name that exists
        // cannot be taken by a new file, so the name still names this file at the unlink.
        result = ::unlink(path) == 0 ? 1 : -1;
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return result;
}

int renameHeldFile(FILE *stream, const char *source, const char *target) {
    if (!stream) {
        return -5;
    }
    // On POSIX the hold does not stand in the way of a rename by name; it lasts as long as
    // the stream, which the caller closes only afterwards.
    return RenameFile(source, target);
}

int removeHeldFile(FILE *stream, const char *path) {
    if (!stream) {
        errno = EINVAL;
        return -1;
    }
    return removeFile(path);
}

int removeFile(const char *path) {
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    return ::unlink(path) == 0 ? 0 : -1;
}

FILE *openFile(const char *path, const char *mode) {
    return std::fopen(path, mode);
}

int isRegularFile(const char *path) {
    struct stat info {};
    return path && ::stat(path, &info) == 0 && S_ISREG(info.st_mode) ? 1 : 0;
}

FileOpenResult openRegularFileForReading(const char *path, long long maxSize, FILE **stream) {
    if (stream) {
        *stream = nullptr;
    }
    if (!path || !stream) {
        errno = EINVAL;
        return FileOpenResult::CannotOpen;
    }
    // Look first, so that a device (a serial port!) or a FIFO is never opened at all.
    struct stat info {};
    if (::stat(path, &info) != 0) {
        return FileOpenResult::CannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        return FileOpenResult::NotRegularFile;
    }
    // The path may name something else by now: O_NONBLOCK keeps the open of a FIFO from
    // waiting for a writer, and the open file is checked again.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return FileOpenResult::CannotOpen;
    }
    FileOpenResult result = FileOpenResult::Opened;
    if (::fstat(fd, &info) != 0) {
        result = FileOpenResult::CannotOpen;
    } else if (!S_ISREG(info.st_mode)) {
        result = FileOpenResult::NotRegularFile;
    } else if (static_cast<long long>(info.st_size) > maxSize) {
        result = FileOpenResult::TooLarge;
    }
    if (result == FileOpenResult::Opened) {
        *stream = ::fdopen(fd, "rb");
        if (!*stream) {
            result = FileOpenResult::CannotOpen;
        }
    }
    if (result != FileOpenResult::Opened) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return result;
}

namespace {

int followLinks(const char *path, std::string *target) {
    std::string current = path;
    for (int followed = 0;; ++followed) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            // A missing name (the end of a dangling link, or a file still to be created) is
            // where the file goes.
            if (errno == ENOENT) {
                break;
            }
            return -1;
        }
        if (!S_ISLNK(info.st_mode)) {
            break;
        }
        if (followed == kMaxLinksFollowed) {
            errno = ELOOP;
            return -1;
        }
        std::vector<char> buffer(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        ssize_t length = 0;
        // The link may change between lstat and readlink; grow until the text fits.
        while ((length = ::readlink(current.c_str(), buffer.data(), buffer.size())) >= 0 &&
               static_cast<size_t>(length) == buffer.size()) {
            buffer.resize(buffer.size() * 2);
        }
        if (length < 0) {
            return -1;
        }
        std::string link(buffer.data(), static_cast<size_t>(length));
        if (link.empty()) {
            errno = ENOENT;
            return -1;
        }
        if (link[0] != '/') {
            const size_t slash = current.rfind('/');
            if (slash != std::string::npos) {
                link.insert(0, current, 0, slash + 1);
            }
        }
        current = std::move(link);
    }
    *target = std::move(current);
    return 0;
}

} // namespace

int resolveFileLinks(const char *path, std::string *target) {
    if (!path || !target) {
        errno = EINVAL;
        return -1;
    }
    try {
        return followLinks(path, target);
    } catch (const std::bad_alloc &) {
        errno = ENOMEM;
        return -1;
    }
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
    // A save by root must not turn a user's file into root's, which the user could then no
    // longer replace. Only root may give a file away; anyone may give it one of their own
    // groups, so a refused owner still keeps the group where it can.
    int result = 0;
    if ((own.st_uid != info.st_uid || own.st_gid != info.st_gid) &&
        ::fchown(fd, info.st_uid, info.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0) {
        result = -1;
    }
    // After the owner: a change of owner may clear the set-user and set-group bits.
    if ((own.st_mode & 07777) != (info.st_mode & 07777) &&
        ::fchmod(fd, info.st_mode & 07777) != 0) {
        result = -1;
    }
    return result;
}

int platform::detail::syncStream(FILE *stream) {
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
