#include "platform/port_lock.h"

#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace platform {

namespace {

// The device, told apart from an earlier one under the same number: a
// pty's number, or a USB adapter's, is given again once the old one is
// gone, while a claim on the old one may still be held. A device node gets
// its change time when it is made (and when its owner or mode change, which
// happens before anyone uses it); reads and writes leave it alone.
bool IdentifyDevice(const std::string &devicePath, PortLock::Device &device)
{
    struct stat info = {};
    if (devicePath.empty() || ::stat(devicePath.c_str(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    device = {info.st_rdev, info.st_ctim.tv_sec, info.st_ctim.tv_nsec};
    return true;
}

std::string ClaimPath(const PortLock::Device &device)
{
    char name[96];
    std::snprintf(name, sizeof name, "kestrel-port-%u-%u-%lld.%09ld.lock", ::major(device.number),
                  ::minor(device.number), static_cast<long long>(device.madeSeconds),
                  static_cast<long>(device.madeNanoseconds));
    return std::string(PortLock::kLockFolder) + name;
}

// The claim file, opened for reading only: a lock on it needs no more, so
// a file that another user made serves as well. In the shared lock folder
// it is never created over a file or a link that is already there.
UniqueFd OpenClaimFile(const std::string &path)
{
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    UniqueFd fd(::open(path.c_str(), kFlags));
    if (!fd.Valid() && errno == ENOENT) {
        fd.Reset(::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0644));
        // Readable for every user despite the umask, so that they can claim it too.
        if (fd.Valid())
            ::fchmod(fd.Get(), 0644);
    }
    struct stat info = {};
    if (fd.Valid() && (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))) {
        fd.Reset();
        errno = EINVAL;
    }
    return fd;
}

} // namespace

bool PortLock::HeldFor(const std::string &devicePath) const
{
    Device device;
    return Held() && IdentifyDevice(devicePath, device) && device == m_device;
}

PortLock::Result PortLock::Acquire(const std::string &devicePath)
{
    if (HeldFor(devicePath))
        return Result::Held;
    Release();
    Device device;
    if (!IdentifyDevice(devicePath, device))
        return Result::Unavailable;
    const std::string path = ClaimPath(device);
    // A few rounds: each one lost means a holder removed the file between
    // our open and our lock, which happens once per ending holder.
    for (int round = 0; round < 8; ++round) {
        UniqueFd fd = OpenClaimFile(path);
        if (!fd.Valid()) {
            if (errno == EEXIST)
                continue; // made by another claimant between our two opens
            return Result::Unavailable;
        }
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
            return errno == EWOULDBLOCK ? Result::InUse : Result::Unavailable;
        // A lock on a file that is no longer under its name guards nothing.
        if (!SameFile(fd.Get(), path))
            continue;
        m_fd = std::move(fd);
        m_path = path;
        m_device = device;
        return Result::Held;
    }
    return Result::Unavailable;
}

// Removed while still locked, so that a claimant who opened it in the
// meantime sees that it no longer carries the name and tries again.
void PortLock::Release()
{
    if (!m_fd.Valid())
        return;
    if (SameFile(m_fd.Get(), m_path))
        ::unlink(m_path.c_str());
    m_fd.Reset();
    m_path.clear();
    m_device = {};
}

} // namespace platform
