// COM numbers to Linux devices through the fixed rule and the port map, and the list of COM
// ports present.
#include "platform/comports.h"

#include "platform/userdirs.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxCom = 256;

struct Family {
    const char *prefix; // device name without the number, e.g. "ttyUSB"
    int firstCom;       // COM number of device 0
    int count;          // devices 0 .. count-1 take part
};

// Ranges that never overlap: 32 UARTs, 32 USB adapters, the rest for CDC-ACM devices.
constexpr Family kFamilies[] = {
    {"ttyS", 1, 32},
    {"ttyUSB", 33, 32},
    {"ttyACM", 65, kMaxCom - 65 + 1},
};

std::mutex rootsLock;
ComPortRoots overrides;

ComPortRoots currentRoots() {
    std::lock_guard guard(rootsLock);
    return overrides;
}

std::string devRoot() {
    ComPortRoots roots = currentRoots();
    return roots.dev.empty() ? "/dev" : roots.dev;
}

std::string sysRoot() {
    ComPortRoots roots = currentRoots();
    return roots.sys.empty() ? "/sys" : roots.sys;
}

bool exists(const std::string &path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

bool isLink(const std::string &path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string readFirstLine(const std::string &path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

std::string readLinkTarget(const std::string &path) {
    char target[PATH_MAX];
    ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n < 0)
        return {};
    target[n] = '\0';
    return target;
}

std::string mapEntry(int com) {
    return portMapDirectory() + "/com" + std::to_string(com);
}

// A ttyS node exists for every possible UART; only one with a bound driver and a known UART
// type (sysfs "type" not 0, PORT_UNKNOWN) is a real port.
bool uartPresent(const std::string &name) {
    std::string base = sysRoot() + "/class/tty/" + name;
    if (!exists(base + "/device"))
        return false;
    std::string type = readFirstLine(base + "/type");
    return !type.empty() && type != "0";
}

// The USB device's product text: walk up from the tty's device towards the USB device that
// carries "product" (interface, then device; a few levels at most).
std::string usbProduct(const std::string &name) {
    char resolved[PATH_MAX];
    std::string device = sysRoot() + "/class/tty/" + name + "/device";
    if (!realpath(device.c_str(), resolved))
        return {};
    std::string dir = resolved;
    for (int level = 0; level < 4 && dir.size() > 1; ++level) {
        std::string product = readFirstLine(dir + "/product");
        if (!product.empty())
            return product;
        dir = dir.substr(0, dir.find_last_of('/'));
    }
    return {};
}

std::string fixedRulePath(int com, bool *uart) {
    for (const Family &family : kFamilies) {
        int index = com - family.firstCom;
        if (index < 0 || index >= family.count)
            continue;
        std::string name = family.prefix + std::to_string(index);
        if (uart)
            *uart = family.firstCom == 1;
        return name;
    }
    return {};
}

} // namespace

void setComPortRoots(const ComPortRoots &roots) {
    std::lock_guard guard(rootsLock);
    overrides = roots;
}

bool portMapSupported() {
    return true;
}

std::string portMapDirectory() {
    ComPortRoots roots = currentRoots();
    if (!roots.portMap.empty())
        return roots.portMap;
    return userConfigDirectory() + "/ports";
}

std::string comDevicePath(int com) {
    if (com < 1 || com > kMaxCom)
        return {};
    std::string entry = mapEntry(com);
    if (isLink(entry))
        return entry;
    bool uart = false;
    std::string name = fixedRulePath(com, &uart);
    if (name.empty())
        return {};
    std::string path = devRoot() + "/" + name;
    if (!exists(path) || (uart && !uartPresent(name)))
        return {};
    return path;
}

namespace {

// The number n when name is exactly prefix followed by n written plainly (no sign, no leading
// zero), else -1: "com7" and "ttyUSB0" count, "com07" and "ttyUSB0.bak" do not.
int numberAfter(const std::string &name, const char *prefix) {
    std::string_view rest(name);
    std::string_view head(prefix);
    if (rest.substr(0, head.size()) != head)
        return -1;
    rest.remove_prefix(head.size());
    if (rest.empty() || rest.size() > 3 || (rest.size() > 1 && rest[0] == '0'))
        return -1;
    int n = 0;
    for (char c : rest) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

template <typename Visit> void forEachEntry(const std::string &directory, Visit visit) {
    DIR *dir = opendir(directory.c_str());
    if (!dir)
        return;
    while (const dirent *entry = readdir(dir))
        visit(std::string(entry->d_name));
    closedir(dir);
}

// The COM numbers that can name a port at all: an entry of the port map or a device of one of
// the families. Reading the two directories once is far cheaper than probing 256 numbers one
// by one, which the list does every time the operator opens the COM-port ring.
std::vector<int> candidateNumbers() {
    std::vector<bool> seen(kMaxCom + 1, false);
    forEachEntry(portMapDirectory(), [&](const std::string &name) {
        if (isPortMapEntryName(name))
            seen[numberAfter(name, "com")] = true;
    });
    forEachEntry(devRoot(), [&](const std::string &name) {
        for (const Family &family : kFamilies) {
            int index = numberAfter(name, family.prefix);
            if (index >= 0 && index < family.count)
                seen[family.firstCom + index] = true;
        }
    });
    std::vector<int> numbers;
    for (int com = 1; com <= kMaxCom; ++com) {
        if (seen[com])
            numbers.push_back(com);
    }
    return numbers;
}

} // namespace

ComPortRoots effectiveComPortRoots() {
    return {devRoot(), sysRoot(), portMapDirectory()};
}

bool isComDeviceName(const std::string &name) {
    for (const Family &family : kFamilies) {
        int index = numberAfter(name, family.prefix);
        if (index >= 0 && index < family.count)
            return true;
    }
    return false;
}

bool isPortMapEntryName(const std::string &name) {
    int com = numberAfter(name, "com");
    return com >= 1 && com <= kMaxCom;
}

std::vector<ComPortInfo> listComPorts() {
    std::vector<ComPortInfo> ports;
    for (int com : candidateNumbers()) {
        std::string path = comDevicePath(com);
        if (path.empty())
            continue;
        if (path == mapEntry(com)) {
            // A stale entry (its device is gone) hides its number rather than falling back.
            if (exists(path))
                ports.push_back({com, readLinkTarget(path), {}});
            continue;
        }
        bool uart = false;
        std::string name = fixedRulePath(com, &uart);
        ports.push_back({com, path, uart ? std::string() : usbProduct(name)});
    }
    return ports;
}

std::string systemPortName(const std::string &, const std::string &) {
    return {};
}

int addPortMapLink(int com, const std::string &target) {
    if (com < 1 || com > kMaxCom || target.empty())
        return -EINVAL;
    std::string dir = portMapDirectory();
    if (int made = createPrivateDirectories(dir); made != 0)
        return made;
    std::string entry = mapEntry(com);
    // Link under a private name, then rename over the entry: readers never see it missing.
    std::string temporary = entry + ".tmp" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0)
        return -errno;
    if (rename(temporary.c_str(), entry.c_str()) != 0) {
        int err = errno;
        unlink(temporary.c_str());
        return -err;
    }
    return 0;
}

int removePortMapLink(int com, const std::string &expectedTarget) {
    if (com < 1 || com > kMaxCom)
        return -EINVAL;
    std::string entry = mapEntry(com);
    if (!isLink(entry))
        return 0;
    if (!expectedTarget.empty() && readLinkTarget(entry) != expectedTarget)
        return 0;
    if (unlink(entry.c_str()) != 0 && errno != ENOENT)
        return -errno;
    return 0;
}
