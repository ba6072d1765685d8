// File operations of the platform layer: what the ini library needs to examine paths and to
// replace a file safely (exclusive create, sync of file and directory, atomic rename).
#pragma once

#include <cstdio>

// 1 when something exists at the path, 0 when it does not (the path or a directory on it is
// missing), -1 when the system cannot tell (permission, loop, over-long name, null path).
// For an existing regular file *fileSize (when given) gets its size, else 0.
int GetFileInfo(const char *path, long *fileSize);

// Splits a path into drive (always empty here), directory (up to and including the last '/')
// and file name. Each output may be null; each must hold strlen(path) + 1 bytes.
void SplitPath(const char *path, char *drive, char *directory, char *fileName);

// Renames source to target, replacing an existing target in one atomic step. Results:
//  0 success
// -1 source, or a directory on either path, not found
// -2 target is a non-empty directory or otherwise exists in a way that cannot be replaced
// -3 input/output error (and any failure without a better code)
// -4 out of memory
// -5 invalid path (over-long name, loop of links, renaming into itself, other file system)
// -6 access denied (permission, read-only file system, busy)
// -7 the source or target is a directory where a file was expected
// -8 disk or quota full
int RenameFile(const char *source, const char *target);

// Creates a new file that must not exist yet (O_CREAT|O_EXCL: an existing file or link under
// the name is never opened or followed) and opens a stream on it with the stdio mode ("wb",
// "w+b", ...). Null with errno set on failure (EEXIST when the name is taken).
FILE *openNewFileExclusive(const char *path, const char *mode);

// Gives the stream's file the permission bits of the file at path, so that replacing a file
// never widens who may read it. Returns 0, or -1 with errno set (nothing to copy included).
int copyFilePermissions(const char *path, FILE *stream);

// Forces the stream's file contents to the disk (fsync); the stream must be flushed first.
// 0, or -1 with errno set.
int syncFile(FILE *stream);

// Forces the directory entry of path (its directory) to the disk, so that a rename in it
// survives a power loss. 0, or -1 with errno set.
int syncDirectoryOf(const char *path);

// Test seam: failures injected into the operations above, so that write, flush, sync and
// rename failures can be shown without a full disk. Each armed fault fires with the given
// errno value; FileFault::None disarms all.
enum class FileFault {
    None,
    // Writes to streams from openNewFileExclusive fail once afterBytes bytes were written.
    Write,
    // syncFile fails.
    Sync,
    // RenameFile fails (with the result its errno maps to).
    Rename,
    // openNewFileExclusive fails for every name.
    Create,
};
void setFileFaultForTesting(FileFault fault, int errnoValue, long afterBytes = 0);
