// COM numbers on Windows: the system's own, listed by the registry's SERIALCOMM key.
#include "platform/comports.h"

#include "platform/registry.h"
#include "platform/serialcomm_key.h"
#include "platform/win32.h"

#include "toolbox/toolbox.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kMaxCom = 256;

// The number of "COM<n>" (as the COM-port list reads it), or 0 for anything else.
int comNumberOf(const char *data) {
    int number = 0;
    if (std::strncmp(data, "COM", 3) != 0 || StrToInt(data + 3, &number) != 1 || number < 1 ||
        number > kMaxCom)
        return 0;
    return number;
}

} // namespace

void setComPortRoots(const ComPortRoots &) {}

bool portMapSupported() {
    return false;
}

std::string portMapDirectory() {
    return {};
}

std::string comDevicePath(int com) {
    if (com < 1 || com > kMaxCom)
        return {};
    // The device namespace reaches COM10 and above, which the plain name "COM10" does not.
    return "\\\\.\\COM" + std::to_string(com);
}

std::vector<ComPortInfo> listComPorts() {
    std::vector<ComPortInfo> ports;
    const std::map<int, std::string> friendlyNames = platform::win32::comPortFriendlyNames();
    unsigned int count = 0;
    if (RegQueryInfoOnKey(HKEY_LOCAL_MACHINE, kSerialCommKey, nullptr, &count, nullptr, nullptr,
                          nullptr) != kRegOk)
        return ports;
    for (unsigned int index = 0; index < count; ++index) {
        char name[1024];
        unsigned int nameLength = sizeof name;
        char data[512];
        unsigned int dataSize = sizeof data - 1;
        unsigned int type = REG_NONE;
        if (RegEnumerateValue(HKEY_LOCAL_MACHINE, kSerialCommKey, index, name, &nameLength, data,
                              &dataSize, &type) != kRegOk ||
            type != REG_SZ)
            continue;
        data[dataSize] = '\0';
        const int number = comNumberOf(data);
        const bool listed = std::any_of(ports.begin(), ports.end(), [number](const ComPortInfo &p) {
            return p.number == number;
        });
        if (number != 0 && !listed) {
            const auto friendly = friendlyNames.find(number);
            ports.push_back(
                {number, name, friendly == friendlyNames.end() ? std::string() : friendly->second});
        }
    }
    std::sort(ports.begin(), ports.end(),
              [](const ComPortInfo &a, const ComPortInfo &b) { return a.number < b.number; });
    return ports;
}

std::string systemPortName(const std::string &device, const std::string &product) {
    return product.empty() ? device : product;
}

int addPortMapLink(int, const std::string &) {
    return -ENOSYS;
}

int removePortMapLink(int, const std::string &) {
    return -ENOSYS;
}
