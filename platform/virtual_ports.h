#pragma once
// Virtual serial ports: ptys of the terminal simulator, socat or a network
// serial bridge never show up in the system's port enumeration, so they are
// advertised as symbolic links in a per-user folder and listed from there.
//
// A program that advertises a port (AdvertisedPort) holds a lock on a file
// beside its link, ".NAME.lock", for as long as it runs. The kernel drops
// that lock however the program ends, so a link whose lock file is there but
// not held was left by a killed program: its tty may by now belong to
// someone else, and it is neither listed nor found. A link without a lock
// file was made by hand (socat, a bridge) and counts as it stands.
//
// The folder and its links are trusted only as the user's own: a folder that
// another user owns or may write is not used at all, and a link that another
// user owns is neither listed nor found (it could lead the password typed
// for a terminal to a tty of theirs).

#include "platform/unique_fd.h"

#include <string>
#include <vector>

namespace platform {

struct VirtualPort
{
    std::string name; // the link's name, as the user sees and types it
    std::string path; // the link's full path, which opens the tty
};

// $XDG_RUNTIME_DIR/kestrel-ports/, or ~/.cache/kestrel-ports/ without it,
// with a trailing separator; "" when the user has neither (never a shared
// folder such as /tmp).
std::string VirtualPortDir();

// Every live link in the folder that points at a character device, by name.
std::vector<VirtualPort> ListVirtualPorts();

// The path of the live advertised port of that name, or "" when there is none.
std::string FindVirtualPort(const std::string &name);

// One advertised name, held from Advertise until Withdraw or destruction.
class AdvertisedPort
{
public:
    AdvertisedPort() = default;
    ~AdvertisedPort() { Withdraw(); }
    AdvertisedPort(const AdvertisedPort &) = delete;
    AdvertisedPort &operator=(const AdvertisedPort &) = delete;

    // Takes the name for this process and links it to `ttyPath`, replacing
    // a link that a killed program left; the folder is made with mode 0700.
    // On failure (a bad name, a name a running program holds, a folder that
    // cannot be written or is not the user's alone) returns false and
    // describes the problem in `error`.
    bool Advertise(const std::string &name, const std::string &ttyPath, std::string &error);
    // Removes the link if it still points at our tty, and gives the name up.
    void Withdraw();
    bool Advertised() const { return m_lock.Valid(); }

private:
    std::string m_linkPath;
    std::string m_lockPath;
    std::string m_ttyPath;
    UniqueFd m_lock;
};

} // namespace platform
