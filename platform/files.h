// File operations of the platform layer: what the ini library needs to examine paths, to read
// a file without waiting on it, and to replace a file safely (exclusive create, held
// temporary files, sync of file and directory, atomic rename).
//
// Paths are UTF-8 on every system; on Windows they are converted to wide strings for the
// system's calls, so any character of a file name works whatever the ANSI code page. Failures
// report errno values on both systems (on Windows mapped from the system's error).
// Where Windows differs:
// - SplitPath knows drives ("C:") and takes both '\' and '/' as separators.
// - RenameFile is MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). A target
//   that another program has open without FILE_SHARE_DELETE cannot be replaced (-6).
// - Symbolic links are not followed when a file is replaced: resolveFileLinks gives the path
//   itself.
// - The permissions copied by copyFilePermissions are the file's access control list; its
//   owner stays the writer.
// - syncDirectoryOf only checks the directory: NTFS journals the rename, and the renamed
//   file's own handle is flushed after a rename through the handle.
// - The injected FileFault::Write exists on POSIX only (it needs a stream over a cookie).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// A UTF-8 path as std::filesystem takes it, and back. Through char8_t, which std::filesystem
// reads as UTF-8 on every system: on Windows a plain std::string goes through the C library's
// narrow character set, which is not UTF-8, and characters beyond ASCII are lost or make
// std::filesystem throw.
std::filesystem::path pathFromUtf8(const std::string &utf8);
std::string utf8FromPath(const std::filesystem::path &path);

// 1 when something exists at the path, 0 when it does not (the path or a directory on it is
// missing), -1 when the system cannot tell (permission, loop, over-long name, null path).
// For an existing regular file *fileSize (when given) gets its size, else 0.
int GetFileInfo(const char *path, long *fileSize);

// Splits a path into drive (always empty on POSIX; "C:" on Windows), directory (up to and
// including the last separator) and file name. Each output may be null; each must hold
// strlen(path) + 1 bytes.
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
// After a failure errno holds the system's reason (not for -5 from a null path).
int RenameFile(const char *source, const char *target);

// Creates a new file that must not exist yet (O_CREAT|O_EXCL: an existing file or link under
// the name is never opened or followed) and opens a stream on it with the stdio mode ("wb",
// "w+b", ...). Null with errno set on failure (EEXIST when the name is taken).
FILE *openNewFileExclusive(const char *path, const char *mode);

// Appends the names of the directory's entries ("." and ".." excepted, links not followed) to
// *names, in no particular order. 0, or -1 with errno set (the directory cannot be opened or
// read, ENOMEM); *names may then hold some of the names.
int listDirectory(const char *directory, std::vector<std::string> *names);

// Removes the file (not a directory) at path. 0, or -1 with errno set (ENOENT when nothing
// is there).
int removeFile(const char *path);

// std::fopen with a UTF-8 path (on Windows through the wide path). Null with errno set.
FILE *openFile(const char *path, const char *mode);

// 1 when path names a regular file (links followed), else 0 (missing, a directory, a FIFO, a
// device, a socket, or the system cannot tell). Looks only; never opens the path.
int isRegularFile(const char *path);

// What openRegularFileForReading found.
enum class FileOpenResult {
    Opened,         // *stream set; the caller closes it
    CannotOpen,     // missing, no permission, a loop of links, ...; errno set
    NotRegularFile, // a directory, FIFO, device or socket
    TooLarge,       // larger than maxSize bytes
};

// Opens an existing regular file for reading, with the stdio mode "rb", without ever waiting:
// the kind is checked before the file is opened, so a device or FIFO at the path (directly or
// behind links) is never opened in a way that could block or have side effects, and checked
// again on the open file in case the path changed meanwhile. *stream is null unless the result
// is Opened.
FileOpenResult openRegularFileForReading(const char *path, long long maxSize, FILE **stream);

// The name that writing to path replaces: path itself unless its last component is a
// symbolic link; a link is followed, through chains of links, to the final name, which need
// not exist (a dangling link gives the name it points to, so that the file is created there
// and the link keeps working). A relative link target is taken relative to the directory of
// the link. Directories on the path are left as they are: a file is replaced in the
// directory the path names it in. 0 and *target set, or -1 with errno set: ELOOP after more
// than 40 links, ENOMEM, or the failure to examine a name or read a link. On a system without
// symbolic links the result is path itself.
int resolveFileLinks(const char *path, std::string *target);

// Held files. A writer's temporary file is held while its stream is open: every other writer,
// in this process or another, recognises it as in use and leaves it alone, while the leftover
// of a writer that died (killed, crashed, lost power before its rename) is held by nobody and
// may be removed by the next writer. On POSIX the hold is an exclusive flock on the file,
// which the system drops when the file's last descriptor closes, however the process ends. On
// Windows it is the share mode 0 of the creating handle: no one else can open, rename or
// remove the file while that handle lives, so renaming and removing a held file go through
// its handle (SetFileInformationByHandle with FileRenameInfo / FileDispositionInfo).

// Creates a new file as openNewFileExclusive does and holds it for as long as the returned
// stream is open. Should a cleaner (removeUnheldFile) remove the new file in the moment
// between its creation and the hold, the call notices that the name no longer names its file
// and fails with errno EEXIST, as for a taken name; whatever is under the name then is not
// touched. Where the file system offers no locks the file is created unheld (and no cleaner
// can remove it either). Null with errno set on failure.
FILE *openNewFileHeld(const char *path, const char *mode);

// Removes the file at path when it is a regular file that nobody holds: the leftover of a
// dead writer. The file is removed only after the cleaner has taken the hold itself and has
// checked that the name still names the file it holds, so a live writer's file, including
// one created a moment ago and not yet held, is never removed. Links are never followed or
// removed. 1 removed; 0 left alone (held, missing, not a regular file, a link, or it cannot
// be opened to take the hold); -1 with errno set when the removal itself fails.
int removeUnheldFile(const char *path);

// Renames the held file of stream (created under source) to target, as RenameFile does and
// with its results, while the file stays held, so that no cleaner can remove it before it
// has its new name. The stream stays open; the caller closes it afterwards.
int renameHeldFile(FILE *stream, const char *source, const char *target);

// Removes the held file of stream (created under path) before the hold ends; the stream stays
// open and the caller closes it afterwards. 0, or -1 with errno set.
int removeHeldFile(FILE *stream, const char *path);

// Gives the stream's file the owner, group and permission bits of the file at path, so that
// replacing a file never widens who may read it and never takes it from its owner. The owner
// goes over only where the writer may give a file away (root); otherwise the group still does
// where the writer is one of its members. Every part that can be copied is copied. Returns 0,
// or -1 with errno set (a part that could not be copied, or nothing to copy).
int copyFilePermissions(const char *path, FILE *stream);

// Forces the stream's file contents to the disk (fsync); the stream must be flushed first.
// 0, or -1 with errno set.
int syncFile(FILE *stream);

// Forces the directory entry of path (its directory) to the disk, so that a rename in it
// survives a power loss. 0, or -1 with errno set.
int syncDirectoryOf(const char *path);
