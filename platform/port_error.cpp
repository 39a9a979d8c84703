#include "platform/port_error.h"

#include <cerrno>
#include <cstring>

namespace platform {

PortError PortErrorOf(int code)
{
    switch (code) {
    case 0:
        return {};
    case EBUSY:
        return {PortErrorKind::InUse, code};
    case EACCES:
        return {PortErrorKind::PermissionDenied, code};
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return {PortErrorKind::NotFound, code};
    default:
        return {PortErrorKind::Other, code};
    }
}

PortError PortClaimedElsewhere()
{
    return PortErrorOf(EBUSY);
}

std::string PortErrorText(const PortError &error)
{
    return std::strerror(error.code);
}

} // namespace platform
