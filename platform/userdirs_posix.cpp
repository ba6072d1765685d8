// The per-user directories over the environment and the user database.
#include "platform/userdirs.h"

#include "platform/translatable.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string homeDirectory() {
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

} // namespace

const char *userConfigDirectoryHelp() {
    return TRZ4_TRANSLATABLE("commandline", "$XDG_CONFIG_HOME/trz4steuerung/, sonst\n"
                                            "                       ~/.config/trz4steuerung/");
}

std::string userConfigDirectory() {
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string base = config && config[0] == '/' ? config : homeDirectory() + "/.config";
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/trz4steuerung";
}

int createPrivateDirectories(const std::string &dir) {
    if (dir.empty())
        return -ENOENT;
    for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        const std::string level = dir.substr(0, slash);
        if (mkdir(level.c_str(), 0700) != 0) {
            const int err = errno;
            struct stat st {};
            // An existing directory (or a link to one) is fine; a file in the way is not.
            if (err != EEXIST)
                return -err;
            if (stat(level.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
                return -ENOTDIR;
        }
        if (slash == std::string::npos)
            break;
    }
    return 0;
}
