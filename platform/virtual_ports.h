#pragma once
// Virtual serial ports: ptys of the terminal simulator, socat or a network
// serial bridge never show up in the system's port enumeration, so they are
// advertised as symbolic links in a per-user folder and listed from there.

#include <string>
#include <vector>

namespace platform {

struct VirtualPort
{
    std::string name;   // the link's name, as the user sees and types it
    std::string path;   // the link's full path, which opens the tty
};

// $XDG_RUNTIME_DIR/kestrel-ports/, or ~/.cache/kestrel-ports/ without it,
// with a trailing separator.
std::string VirtualPortDir();

// Every link in the folder that points at a character device, by name.
std::vector<VirtualPort> ListVirtualPorts();

// The path of an advertised port of that name, or "" when there is none.
std::string FindVirtualPort(const std::string &name);

// Creates (or replaces) the link `name` to `ttyPath`. On failure returns
// false and describes the problem in `error`.
bool AdvertiseVirtualPort(const std::string &name, const std::string &ttyPath, std::string &error);

// Removes the link `name` if it still points at `ttyPath`.
void WithdrawVirtualPort(const std::string &name, const std::string &ttyPath);

} // namespace platform
