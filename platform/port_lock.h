#pragma once
// Keeps a serial port for one run of a program across the opens and closes
// of its operations (the login closes the port, the job opens it again), so
// that a second program asking for the same port is turned away at once
// instead of slipping in between. It is an open-file-description lock on the
// device, which does not meet the flock that every open of the device takes.

#include "platform/unique_fd.h"

#include <string>

namespace platform {

class PortLock
{
public:
    enum class Result {
        Held,        // the port is ours until Release or destruction
        InUse,       // another program holds it, or has it open for itself alone
        Unavailable, // it cannot be opened at all; the open proper will say why
    };

    Result Acquire(const std::string &devicePath);
    void Release() { m_fd.Reset(); }
    bool Held() const { return m_fd.Valid(); }

private:
    UniqueFd m_fd;
};

} // namespace platform
