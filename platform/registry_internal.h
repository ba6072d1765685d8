// What the registry layers of the operating systems share: handing a value's name and data to
// the caller's buffers by the rules of registry.h.
#pragma once

#include <string>

namespace platform::detail {

// Copies a name into a caller's buffer of *length bytes (with its terminating zero);
// *length becomes the name's length. buffer may be null when only the length is wanted.
// kRegFailure when the buffer is too small.
int copyRegistryName(const std::string &name, char *buffer, unsigned int *length);

// Copies a value's data (as stored) into a caller's buffer of *size bytes; *size becomes the
// data's size and *typeOut (when given) its type. data may be null when only size and type
// are wanted. kRegFailure when the buffer is too small.
int copyRegistryData(const std::string &bytes, unsigned int type, void *data, unsigned int *size,
                     unsigned int *typeOut);

} // namespace platform::detail
