// The registry's serial-port key, filled from the COM ports present.
#include "platform/serialcomm_key.h"

#include "platform/comports.h"
#include "platform/registry.h"

void ensureSerialCommKey() {
    if (RegKeyExists(HKEY_LOCAL_MACHINE, kSerialCommKey))
        return;
    registerDynamicKey(HKEY_LOCAL_MACHINE, kSerialCommKey, [] {
        RegStringValues values;
        for (const ComPortInfo &port : listComPorts()) {
            // Value names must be unique, as on Windows; two map entries may share a target.
            std::string name = port.device;
            for (const auto &[existing, data] : values) {
                if (existing == name) {
                    name += " (com" + std::to_string(port.number) + ")";
                    break;
                }
            }
            values.emplace_back(name, "COM" + std::to_string(port.number));
        }
        return values;
    });
}

std::string serialPortProduct(int com) {
    for (const ComPortInfo &port : listComPorts()) {
        if (port.number == com)
            return port.product;
    }
    return {};
}
