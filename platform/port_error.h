#pragma once
// Why a port would not open, in the kinds the login tells apart: another
// program holds it, the user may not use it, it is not there. The system's
// own code is kept for the message that names the cause.

#include <string>

namespace platform {

enum class PortErrorKind { None, InUse, PermissionDenied, NotFound, Other };

struct PortError
{
    PortErrorKind kind = PortErrorKind::None;
    int code = 0; // the system error code; 0 when there is none
};

// The error for a system error code of an open (0: none).
PortError PortErrorOf(int code);
// A port that another run of ours has claimed: refused as a device that
// another program holds open is.
PortError PortClaimedElsewhere();
// The system's text for the error's code.
std::string PortErrorText(const PortError &error);

} // namespace platform
