// The port watch on Windows: none. The COM-port list is read when it is asked for (the
// COM-port ring rebuilds it when the operator opens it). Windows announces COM ports coming
// and going through CM_Register_Notification for GUID_DEVINTERFACE_COMPORT; a watch there
// would hand its callback's news to a waitable handle.
#include "platform/portwatch.h"

struct PortWatch::Impl {};

PortWatch::PortWatch() = default;

PortWatch::~PortWatch() = default;

int PortWatch::start() {
    return kPortWatchUnsupported;
}

void PortWatch::stop() {}

int PortWatch::descriptor() const {
    return -1;
}

bool PortWatch::takeChanges() {
    return false;
}

bool PortWatch::waitForChange(int) {
    return false;
}
