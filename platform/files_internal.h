// What the file operations of the operating systems share: the injected faults of the test
// seams (platform/testing/files_testing.h) and the mapping of a failure to the results of
// RenameFile.
#pragma once

#include "platform/files.h"
#include "platform/testing/files_testing.h"

#include <cstddef>

namespace platform::detail {

struct FileFaultPlan {
    FileFault fault = FileFault::None;
    int error = 0;
    long afterBytes = 0;
};

// The fault armed by setFileFaultForTesting.
const FileFaultPlan &fileFault();

// True, with errno set to the armed error, when a fault of this kind is armed: the operation
// then fails as the system would have made it fail.
bool injectedFault(FileFault kind);

// Calls the hook armed by setBeforeHoldHookForTesting, if any.
void runBeforeHoldHook(const char *path);

// The system's path syntax: the length of a drive at the start of a path ("C:" on Windows,
// none on POSIX) and the characters that separate its names.
size_t pathDriveLength(const char *path);
bool isPathSeparator(char c);

// The system's part of syncFile: writes the stream's file through to the disk; 0, or -1 with
// errno.
int syncStream(FILE *stream);

// The result of RenameFile (0, -1 ... -8) for an errno value (a full quota is given as ENOSPC,
// for the systems that have quotas).
int renameResultForErrno(int error);

} // namespace platform::detail
