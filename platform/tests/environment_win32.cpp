// Environment variables through the C runtime, whose getenv the programs read. It cannot hold
// an empty value: an empty one removes the variable, which getenv tells apart only as null
// instead of "".
#include "platform/tests/environment.h"

#include <cstdlib>

void setEnvironmentVariable(const char *name, const char *value) {
    _putenv_s(name, value ? value : "");
}
