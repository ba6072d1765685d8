// COM numbers: which device a COM number names, and which COM ports are present.
//
// On Windows the numbers are the system's own: COM<n> is the device \\.\COM<n>, and the ports
// present are those that the registry key HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM
// lists. There is no port map (portMapSupported() is false): the roots, the map directory and
// the map links below do nothing there, as each function says.
//
// On Linux a fixed rule holds, so that a saved port finds the same device again:
//   /dev/ttyS<k>   = COM(k+1),  k 0-31  (only when a UART is really behind it)
//   /dev/ttyUSB<k> = COM(33+k), k 0-31
//   /dev/ttyACM<k> = COM(65+k), k 0-191
// The port map directory ($XDG_CONFIG_HOME/trz4steuerung/ports, default
// ~/.config/trz4steuerung/ports) holds symbolic links com<n> (n 1-256) to any device; such an
// entry wins over the fixed rule for its number.
#pragma once

#include <string>
#include <vector>

struct ComPortInfo {
    int number = 0;      // 1-256
    std::string device;  // the device it opens (a port-map link shows its target); on Windows
                         // the name of the SERIALCOMM value (e.g. "\Device\Serial0")
    std::string product; // USB adapters on Linux: the product text from sysfs; on Windows the
                         // name Device Manager shows ("USB-SERIAL CH340 (COM5)"); or empty
};

// Where the layer looks. Empty members mean the system default (/dev, /sys, the port map
// directory from the environment). Tests point them at scratch directories.
struct ComPortRoots {
    std::string dev;
    std::string sys;
    std::string portMap;
};

// Replaces the roots for the whole process; setComPortRoots({}) restores the defaults.
// Windows: does nothing.
void setComPortRoots(const ComPortRoots &roots);

// Whether this system has a port map: true on Linux, false on Windows.
bool portMapSupported();

// The port map directory now in effect (not created). Windows: "".
std::string portMapDirectory();

// The roots now in effect, each filled in (/dev, /sys and portMapDirectory() where no
// override is set).
ComPortRoots effectiveComPortRoots();

// True when name is one the list can come from in the device directory: "ttyS", "ttyUSB" or
// "ttyACM" followed by a number within its family's range (see the rule above).
bool isComDeviceName(const std::string &name);

// True when name is a port-map entry name: "com" followed by a number 1-256 written plainly.
bool isPortMapEntryName(const std::string &name);

// The device path of a COM number, or "" when the number names no device (out of range, no
// map entry and no device by the fixed rule). A map entry is returned as the link's own path,
// even when its target is gone, so that opening it reports the missing device.
// Windows: \\.\COM<n> for every number 1-256 (opening it reports a missing port).
std::string comDevicePath(int com);

// The COM ports present, ordered by number: map entries whose target exists and the fixed-rule
// devices that exist (serial UARTs only with a bound driver and a known UART type).
// Windows: the SERIALCOMM values whose data is "COM<n>" (n 1-256), each number once, with
// the friendly name of SetupAPI's device for that port where it has one.
std::vector<ComPortInfo> listComPorts();

// The name the system itself shows its users for a port, where it has one that stands on its
// own: on Windows the name Device Manager shows (`product`, "USB-SERIAL CH340 (COM5)"), else,
// where Windows has none (as under Wine), the SERIALCOMM value's name (`device`,
// "\Device\Serial2"). Linux: "", a port there being described by its device and, for a USB
// adapter, its product, as each front end words them.
std::string systemPortName(const std::string &device, const std::string &product);

// Links com<n> in the port map to target (creating the directory), replacing an older entry
// in one step. Returns 0, or -errno (-EINVAL for a number outside 1-256 or an empty target).
// Windows: -ENOSYS.
int addPortMapLink(int com, const std::string &target);

// Removes com<n> from the port map. With expectedTarget non-empty the link is removed only
// while it still points there, so that one program never removes another's entry.
// Returns 0 (also when there was nothing to remove), or -errno. Windows: -ENOSYS.
int removePortMapLink(int com, const std::string &expectedTarget = {});
