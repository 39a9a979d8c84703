#pragma once
// From the port name the user picked to the device to open, and to the part
// of the per-port file names (AT log, temporary parameter file).

#include <string>

namespace platform {

// A path (it contains '/') is used as it is. A bare name is an advertised
// virtual port of that name, or else "/dev/" + name. "" for an empty name.
std::string DevicePathForPort(const std::string &portName);

// The port name as it goes into a file name: never a '/' in it.
// "/dev/ttyUSB0" -> "ttyUSB0", "/dev/pts/3" -> "pts_3", bare names unchanged.
std::string PortFileName(const std::string &portName);

} // namespace platform
