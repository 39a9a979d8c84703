#pragma once
// System calls that a signal interrupted are made again, where nothing waits
// for the signal itself to end the call (the password prompt does).

#include <cerrno>

namespace platform {

// Calls `call` until it does not fail with EINTR; its last result.
template <typename Call> auto RetryInterrupted(Call call)
{
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

} // namespace platform
