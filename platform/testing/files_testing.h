// Test seams of the file operations (platform/files.h): failures injected into them, and a hook
// into the moment between creating a held file and holding it. Only tests include this; the
// operations consult the seams on every call.
#pragma once

// Failures injected into the file operations, so that write, flush, sync and rename failures can
// be shown without a full disk. Each armed fault fires with the given errno value;
// FileFault::None disarms all.
enum class FileFault {
    None,
    // Writes to streams from openNewFileExclusive fail once afterBytes bytes were written
    // (POSIX only: on Windows the fault is not armed and streams write normally).
    Write,
    // syncFile fails.
    Sync,
    // RenameFile fails (with the result its errno maps to).
    Rename,
    // openNewFileExclusive and openNewFileHeld fail for every name.
    Create,
};
void setFileFaultForTesting(FileFault fault, int errnoValue, long afterBytes = 0);

// openNewFileHeld calls hook(path, data) after it created the file and before it
// takes the hold, so that a test can act as a cleaner in exactly that moment. Null disarms.
void setBeforeHoldHookForTesting(void (*hook)(const char *path, void *data), void *data);
