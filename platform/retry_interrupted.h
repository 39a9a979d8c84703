#pragma once
// System calls that a signal interrupted are made again: the signals this
// program handles are taken by their own means, never by ending a call.

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
