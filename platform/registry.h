// A small registry of keys and values in the shape of the Windows registry, enough for the
// serial-port list and for the ini library's registry read and write.
//
// Key paths are relative to a root key and use backslashes
// ("HARDWARE\\DEVICEMAP\\SERIALCOMM"); key and value names compare without regard to ASCII
// letter case. Names and string data are UTF-8 in this interface.
//
// On Linux every key lives in an in-memory tree that is empty at start. Subkeys enumerate in
// name order, values in the order they were first written. A key can also be made dynamic
// (registerDynamicKey): its values are then asked from a provider at each query, which is how
// the serial ports present become the values of HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM.
//
// On Windows the keys are the system's registry, with the same results. There:
// - names and string data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are stored as the system's
//   UTF-16 and converted; sizes and lengths reported here are those of the UTF-8 form;
// - subkeys and values enumerate in the registry's own order;
// - what the system refuses (rights, a key opened by the system) gives kRegAccessDenied;
// - there are no dynamic keys and no test seams (the functions under "Linux only" below and
//   platform/testing/registry_testing.h):
//   the system's SERIALCOMM key is the serial-port list.
// <windows.h> defines some of the names below as macros; it must never be included before
// this header (only the platform layer's Windows files include it, and see there).
//
// Every function returns 0 for success or one of the negative codes below. The functions are
// meant for one thread (the user-interface thread); they keep no lock.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Root keys. The numbers 0..3 are also the root-key arguments of the ini library's registry
// operations (Ini_ReadFromRegistry, Ini_WriteToRegistry).
inline constexpr int HKEY_CLASSES_ROOT = 0;
inline constexpr int HKEY_CURRENT_USER = 1;
inline constexpr int HKEY_LOCAL_MACHINE = 2;
inline constexpr int HKEY_USERS = 3;
inline constexpr int HKEY_CURRENT_CONFIG = 5;

// Value types, with the Windows numbers.
inline constexpr unsigned int REG_NONE = 0;
inline constexpr unsigned int REG_SZ = 1;
inline constexpr unsigned int REG_EXPAND_SZ = 2;
inline constexpr unsigned int REG_BINARY = 3;
inline constexpr unsigned int REG_DWORD = 4;
inline constexpr unsigned int REG_MULTI_SZ = 7;

// Results.
inline constexpr int kRegOk = 0;
inline constexpr int kRegOutOfMemory = -12;
inline constexpr int kRegNullArgument = -65;
inline constexpr int kRegFailure = -93;      // invalid root key, bad path, buffer too small
inline constexpr int kRegNotFound = -94;     // key, value or index does not exist
inline constexpr int kRegAccessDenied = -95; // the key is closed to the caller
inline constexpr int kRegNoMoreData = -259;  // enumeration index past the last entry

// Counts of a key; every pointer may be null for a count that is not wanted. Lengths are in
// bytes without a terminating zero, except maxValueDataLen, which counts the data as stored
// (a REG_SZ value with its terminating zero). Nothing is written on failure, so a caller
// that initialises its counts keeps them when the key is missing.
int RegQueryInfoOnKey(int rootKey, const char *subKey, unsigned int *numberOfSubKeys,
                      unsigned int *numberOfValues, unsigned int *maxSubKeyLen,
                      unsigned int *maxValueNameLen, unsigned int *maxValueDataLen);

// Value number valueIndex (from 0) of the key. *valueNameLength holds the size of valueName in
// bytes on entry and the name's length without its zero on return; *valueDataSize holds the
// size of valueData on entry and the data's size on return (a REG_SZ value includes its
// terminating zero). valueName, valueData and valueType may be null (with their size pointer)
// when that part is not wanted. A buffer that is too small gives kRegFailure and leaves the
// buffers unspecified; an index past the end gives kRegNoMoreData.
int RegEnumerateValue(int rootKey, const char *subKey, unsigned int valueIndex, char *valueName,
                      unsigned int *valueNameLength, void *valueData, unsigned int *valueDataSize,
                      unsigned int *valueType);

// Subkey number subKeyIndex (from 0) of the key, in name order; *nameLength as for
// RegEnumerateValue.
int RegEnumerateSubKey(int rootKey, const char *subKey, unsigned int subKeyIndex, char *name,
                       unsigned int *nameLength);

// 1 when the key exists, 0 when not (also for an invalid root key or a null path).
int RegKeyExists(int rootKey, const char *subKey);

// Creates the key and any missing key on its path; an existing key is left as it is.
int RegCreateKey(int rootKey, const char *subKey);

// Deletes every subkey of the key (with their subkeys and values); the key itself and its
// own values stay. kRegNotFound when the key does not exist.
int RegDeleteSubKeys(int rootKey, const char *subKey);

// Deletes the key with everything below it.
int RegDeleteKey(int rootKey, const char *subKey);

// Writes a value of any type (size bytes of data); the key must exist. A value of that name
// is replaced in place, keeping its position in the enumeration order.
int RegWriteValue(int rootKey, const char *subKey, const char *valueName, unsigned int type,
                  const void *data, unsigned int size);
// A REG_SZ value: the text with its terminating zero.
int RegWriteString(int rootKey, const char *subKey, const char *valueName, const char *text);
// A REG_DWORD value: four bytes, little-endian.
int RegWriteULong(int rootKey, const char *subKey, const char *valueName, unsigned int value);

// Reads a value; *size as for RegEnumerateValue. data and type may be null.
int RegReadValue(int rootKey, const char *subKey, const char *valueName, unsigned int *type,
                 void *data, unsigned int *size);

int RegDeleteValue(int rootKey, const char *subKey, const char *valueName);

// --- Linux only: the in-memory registry's dynamic keys (its test seams are in
// platform/testing/registry_testing.h). A Windows build has no definition of these, so code that
// calls them does not link there.

// Dynamic keys. The provider is called at every query of the key (RegQueryInfoOnKey,
// RegEnumerateValue, RegReadValue) and its pairs (value name, REG_SZ text) are the key's
// values; writes to a dynamic key are refused with kRegAccessDenied. The key has no
// subkeys. Registering again replaces the provider; an empty provider removes it.
using RegStringValues = std::vector<std::pair<std::string, std::string>>;
using RegValueProvider = std::function<RegStringValues()>;
void registerDynamicKey(int rootKey, const char *subKey, RegValueProvider provider);
