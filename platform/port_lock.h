#pragma once
// Keeps a serial port for one run of a program across the opens and closes
// of its operations (the login closes the port, the job opens it again), so
// that a second program asking for the same port is turned away at once
// instead of slipping in between. The claim is a lock on a file of its own
// in the system's lock folder, named by the device (its number, and when
// its node was made, so that a claim left on an unplugged adapter or a
// closed pty does not meet the next device given the same number). Every
// name of the device (an advertised link, /dev/pts/N) meets the same claim,
// and every user who may open the device can take it. It never holds the
// device open: between the operations the port is closed on the wire (DTR
// drops), as the terminal has always seen it.

#include "platform/unique_fd.h"

#include <string>
#include <sys/types.h>

namespace platform {

class PortLock
{
public:
    enum class Result {
        Held,        // the port is ours until Release, destruction or another Acquire
        InUse,       // another program (or another PortLock) holds it
        Unavailable, // no device there, or no claim can be made; the open proper will tell
    };

    // The system's lock folder, with a trailing '/'.
    static constexpr char kLockFolder[] = "/run/lock/";

    ~PortLock() { Release(); }
    PortLock() = default;
    PortLock(const PortLock &) = delete;
    PortLock &operator=(const PortLock &) = delete;

    // Held at once when this lock already holds the device; otherwise the
    // claim held so far is given up first.
    Result Acquire(const std::string &devicePath);
    // Gives the claim up; a later open of the device is anybody's.
    void Release();
    bool Held() const { return m_fd.Valid(); }
    // Whether the claim held is the one of this device, by whatever name.
    bool HeldFor(const std::string &devicePath) const;

    // What the claim is named by.
    struct Device
    {
        dev_t number = 0;
        time_t madeSeconds = 0;
        long madeNanoseconds = 0;
        bool operator==(const Device &) const = default;
    };

private:
    UniqueFd m_fd;
    std::string m_path;
    Device m_device;
};

} // namespace platform
