// Environment variables for tests, set the same way on every system.
#pragma once

// Sets the variable to value for this process (and the programs it starts); null removes it.
// On Windows an empty value removes it too.
void setEnvironmentVariable(const char *name, const char *value);
