#include "platform/userlocale.h"

std::string messagesLocaleName() {
    return environmentLocaleName();
}
