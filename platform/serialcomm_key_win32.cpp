// The registry's serial-port key on Windows: the system keeps it.
#include "platform/serialcomm_key.h"

#include "platform/win32.h"

void ensureSerialCommKey() {}

std::string serialPortProduct(int com) {
    const std::map<int, std::string> names = platform::win32::comPortFriendlyNames();
    const auto found = names.find(com);
    return found == names.end() ? std::string() : found->second;
}
