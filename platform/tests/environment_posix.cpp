// Environment variables through setenv and unsetenv.
#include "platform/tests/environment.h"

#include <cstdlib>

void setEnvironmentVariable(const char *name, const char *value) {
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}
