// The per-user directories on Windows: the roaming application data of the user.

#include <windows.h>

#include "platform/userdirs.h"

#include "platform/translatable.h"

#include "platform/win32.h"

#include <cerrno>
#include <knownfolders.h>
#include <shlobj.h>

namespace win32 = platform::win32;

const char *userConfigDirectoryHelp() {
    return TRZ4_TRANSLATABLE("commandline", "%APPDATA%\\trz4steuerung\\");
}

std::string userConfigDirectory() {
    wchar_t *folder = nullptr;
    std::string base;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK)
        base = win32::utf8(folder);
    CoTaskMemFree(folder);
    if (base.empty()) {
        // A profile without known folders (a service account, say): the temporary directory.
        wchar_t temporary[MAX_PATH + 1];
        const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
        base = win32::utf8(temporary, length);
    }
    while (base.size() > 3 && (base.back() == '\\' || base.back() == '/'))
        base.pop_back();
    return base + "\\trz4steuerung";
}

int createPrivateDirectories(const std::string &dir) {
    if (dir.empty())
        return -ENOENT;
    // The levels after the root: past "C:\" or "\\server\share\".
    size_t start = 0;
    if (dir.size() >= 2 && dir[1] == ':')
        start = 2;
    else if (dir.rfind("\\\\", 0) == 0 || dir.rfind("//", 0) == 0)
        start = dir.find_first_of("\\/", dir.find_first_of("\\/", 2) + 1);
    for (size_t separator = dir.find_first_of("\\/", start + 1);;
         separator = dir.find_first_of("\\/", separator + 1)) {
        const std::string level = dir.substr(0, separator);
        const bool root = level.empty() || level.size() <= start;
        // The new levels take the access list of the one above them: below the user's profile,
        // that is the user's alone.
        if (!root && !CreateDirectoryW(win32::wide(level).c_str(), nullptr)) {
            const DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS)
                return -win32::errnoForError(error);
            const DWORD attributes = GetFileAttributesW(win32::wide(level).c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
                return -ENOTDIR;
        }
        if (separator == std::string::npos || separator + 1 >= dir.size())
            break;
    }
    return 0;
}
