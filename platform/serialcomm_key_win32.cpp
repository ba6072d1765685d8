// The registry's serial-port key on Windows: the system keeps it.
#include "platform/serialcomm_key.h"

void ensureSerialCommKey() {}

std::string serialPortProduct(int) {
    return {};
}
