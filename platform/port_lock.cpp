#include "platform/port_lock.h"

#include <cerrno>
#include <fcntl.h>

namespace platform {

PortLock::Result PortLock::Acquire(const std::string &devicePath)
{
    Release();
    // Non-blocking, so a modem line without carrier does not hold up the open.
    UniqueFd fd(::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid())
        return errno == EBUSY ? Result::InUse : Result::Unavailable;
    struct flock whole{};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd.Get(), F_OFD_SETLK, &whole) != 0)
        return errno == EAGAIN || errno == EACCES ? Result::InUse : Result::Unavailable;
    m_fd = std::move(fd);
    return Result::Held;
}

} // namespace platform
