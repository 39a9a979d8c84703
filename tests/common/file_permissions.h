#pragma once
// Makes file permissions hold for the calling thread even when the tests run
// as root, so that a device file of mode 000 is refused with EACCES as it is
// for a user outside its group. Root passes permission checks through two
// capabilities; they leave the thread's effective set while this lives.
// Capabilities are per thread: only opens made on this thread are refused.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class FilePermissionsEnforced
{
public:
    FilePermissionsEnforced()
    {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            lowered[capability / 32].effective &= ~(1u << (capability % 32));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~FilePermissionsEnforced()
    {
        if (m_lowered)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    FilePermissionsEnforced(const FilePermissionsEnforced &) = delete;
    FilePermissionsEnforced &operator=(const FilePermissionsEnforced &) = delete;

    // Whether permissions now hold: never lifted (not root) or lowered here.
    bool Holds() const { return ::geteuid() != 0 || m_lowered; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};
