// The port watch on Linux: one inotify descriptor over the directories the COM-port list is
// read from.
//
// inotify rather than udev's monitor: the port map is a directory of the user's own links that
// udev knows nothing of, so it has to be watched with inotify anyway, and the device nodes
// appear in the same kind of directory (devtmpfs creates them as the kernel registers the
// adapter). One mechanism then covers both sources, needs no further library, and also works
// where no udev daemon runs (containers, minimal systems).
#include "platform/portwatch.h"

#include "platform/comports.h"

#include <array>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace {

// A directory's entries coming and going, and the directory itself going away.
constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                           IN_MOVE_SELF | IN_ONLYDIR;

enum class Place {
    Devices,   // the device directory: ttyS/ttyUSB/ttyACM nodes
    ById,      // <dev>/serial/by-id: the stable names port-map entries should point at
    Terminals, // <dev>/pts: pseudo-terminals, which port-map entries may name
    PortMap,   // the port map: com<n> links
    Chain,     // a link or the device that a port-map entry reaches through its links: its
               // directory is watched for that one name, wherever it lies
};

// How many links of one chain are followed, as the system's own limit on a path's links.
constexpr int kMaxChainLinks = 40;

struct Target {
    std::string path;
    Place place;
};

// One inotify watch. While the target directory is missing its nearest existing parent is
// watched, for the creation of `next`, the path's component below it. Every directory above a
// watched one is watched the same way, for its component on the path: a parent renamed away and
// made again (the user's settings folder) is then followed, not the renamed copy.
struct Armed {
    int wd;
    size_t target;
    std::string next; // empty: the target itself is watched
};

std::string parentOf(const std::string &path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string readLinkTarget(const std::string &path) {
    std::array<char, PATH_MAX> target{};
    ssize_t n = readlink(path.c_str(), target.data(), target.size() - 1);
    return n < 0 ? std::string() : std::string(target.data(), static_cast<size_t>(n));
}

// The links a port-map entry reaches its device through, after the entry itself, and the device
// at the end: every name whose coming, going or pointing elsewhere changes what the entry opens.
std::vector<std::string> linkChain(const std::string &entry) {
    std::vector<std::string> chain;
    std::string path = entry;
    for (int link = 0; link < kMaxChainLinks; ++link) {
        std::string target = readLinkTarget(path);
        if (target.empty())
            break;
        path = target.front() == '/' ? target : parentOf(path) + "/" + target;
        chain.push_back(path);
    }
    return chain;
}

// The port map's entries, by their paths.
std::vector<std::string> portMapEntries(const std::string &portMap) {
    std::vector<std::string> entries;
    DIR *dir = opendir(portMap.c_str());
    if (!dir)
        return entries;
    while (const dirent *entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (isPortMapEntryName(name))
            entries.push_back(portMap + "/" + name);
    }
    closedir(dir);
    return entries;
}

// Whether a port-map entry reaches this pseudo-terminal: only then does its coming or going
// change the list (every terminal window opens one).
bool portMapNames(const std::string &portMap, const std::string &device) {
    for (const std::string &entry : portMapEntries(portMap))
        for (const std::string &link : linkChain(entry))
            if (link == device)
                return true;
    return false;
}

} // namespace

struct PortWatch::Impl {
    int fd = -1;
    std::string portMap;
    std::vector<Target> places;  // the fixed places: devices, by-id, terminals, the port map
    std::vector<Target> targets; // the places and every chain of the port map's entries
    std::vector<Armed> armed;

    ~Impl() {
        if (fd >= 0)
            close(fd);
    }

    void arm() {
        for (const Armed &a : armed)
            inotify_rm_watch(fd, a.wd);
        armed.clear();
        targets = places;
        for (const std::string &entry : portMapEntries(portMap))
            for (std::string &link : linkChain(entry))
                targets.push_back({std::move(link), Place::Chain});
        for (size_t t = 0; t < targets.size(); ++t) {
            std::string dir = targets[t].path;
            std::string next;
            bool watched = false;
            while (!dir.empty()) {
                // The target itself, else (missing, not a directory: a chain's link or device)
                // its nearest existing parent for the component below; then every directory
                // above for its component.
                const int wd = inotify_add_watch(fd, dir.c_str(), kMask);
                if (wd >= 0) {
                    armed.push_back({wd, t, next});
                    watched = true;
                } else if (watched || (errno != ENOENT && errno != ENOTDIR)) {
                    // Any other refusal (no permission) leaves this target unwatched.
                    break;
                }
                size_t slash = dir.find_last_of('/');
                if (slash == std::string::npos || dir == "/")
                    break;
                next = dir.substr(slash + 1);
                dir = slash == 0 ? "/" : dir.substr(0, slash);
            }
        }
    }

    // Whether an entry of the target directory that came or went changes the list.
    bool concernsList(const Target &target, const std::string &name) const {
        switch (target.place) {
        case Place::Devices:
            return isComDeviceName(name);
        case Place::ById:
            return true;
        case Place::Terminals:
            return portMapNames(portMap, target.path + "/" + name);
        case Place::PortMap:
            return isPortMapEntryName(name);
        case Place::Chain:
            return false;
        }
        return false;
    }

    // Reads every pending event. True when one concerns the list; rearms when a watched
    // directory appeared, vanished or moved (what it holds by then counts as a change).
    bool drain() {
        bool changed = false;
        bool rearm = false;
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            for (char *p = buffer; p < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(p);
                p += sizeof(inotify_event) + event->len;
                if (event->mask & IN_Q_OVERFLOW) {
                    changed = rearm = true;
                    continue;
                }
                const std::string name = event->len > 0 ? event->name : "";
                for (const Armed &a : armed) {
                    if (a.wd != event->wd)
                        continue;
                    if (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                        changed = rearm = true;
                    } else if (!a.next.empty()) {
                        if (name == a.next)
                            changed = rearm = true;
                    } else if (concernsList(targets[a.target], name)) {
                        // An entry that came, went or was replaced brings its own chain.
                        changed = true;
                        rearm = rearm || targets[a.target].place == Place::PortMap;
                    }
                }
            }
        }
        if (rearm)
            arm();
        return changed;
    }
};

PortWatch::PortWatch() = default;

PortWatch::~PortWatch() = default;

int PortWatch::start() {
    stop();
    auto next = std::make_unique<Impl>();
    next->fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (next->fd < 0)
        return -errno;
    const ComPortRoots roots = effectiveComPortRoots();
    next->portMap = roots.portMap;
    next->places = {
        {roots.dev, Place::Devices},
        {roots.dev + "/serial/by-id", Place::ById},
        {roots.dev + "/pts", Place::Terminals},
        {roots.portMap, Place::PortMap},
    };
    next->arm();
    impl = std::move(next);
    return 0;
}

void PortWatch::stop() {
    impl.reset();
}

int PortWatch::descriptor() const {
    return impl ? impl->fd : -1;
}

bool PortWatch::takeChanges() {
    return impl && impl->drain();
}

int PortWatch::waitReadable(int timeoutMs) const {
    pollfd pfd{impl->fd, POLLIN, 0};
    const int ready = poll(&pfd, 1, timeoutMs);
    if (ready < 0 && errno == EINTR)
        return 0;
    return ready < 0 ? -1 : ready;
}
