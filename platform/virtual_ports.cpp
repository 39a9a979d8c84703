#include "platform/virtual_ports.h"

#include "platform/app_dir.h"
#include "platform/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

std::string VirtualPortDir()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/')
        return std::string(runtime) + "/kestrel-ports/";
    const std::string home = CurrentAppDirSources().home;
    return home.empty() ? std::string() : home + "/.cache/kestrel-ports/";
}

namespace {

bool IsOwnLinkToCharDevice(const std::string &path)
{
    struct stat linkInfo = {};
    struct stat target = {};
    return ::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) &&
           linkInfo.st_uid == ::geteuid() && ::stat(path.c_str(), &target) == 0 &&
           S_ISCHR(target.st_mode);
}

// Names beginning with a dot are the folder's own files (locks, links in
// the making), so no port can be called that.
bool ValidName(const std::string &name)
{
    return !name.empty() && name.front() != '.' && name.find('/') == std::string::npos;
}

std::string LockPath(const std::string &dir, const std::string &name)
{
    return dir + "." + name + ".lock";
}

std::string SystemText(const std::string &what, const std::string &path)
{
    return "cannot " + what + " " + path + ": " + std::strerror(errno);
}

// Open-file-description locks: unlike flock they can be tested without being
// taken (a reader's test never makes a starting owner fail), and unlike
// process locks they are not dropped when the owner closes another
// descriptor of the file.
struct flock WholeFile(short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

// The link's owner has ended: its lock file is there and nobody holds it.
bool OwnerGone(const std::string &dir, const std::string &name)
{
    UniqueFd lock(::open(LockPath(dir, name).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!lock.Valid())
        return false;
    struct flock probe = WholeFile(F_WRLCK);
    return ::fcntl(lock.Get(), F_OFD_GETLK, &probe) == 0 && probe.l_type == F_UNLCK;
}

bool IsLivePort(const std::string &dir, const std::string &name)
{
    return IsOwnLinkToCharDevice(dir + name) && !OwnerGone(dir, name);
}

// " (process 1234)" from the owner's lock file, or "" when it says nothing.
std::string HolderText(int fd)
{
    char text[24] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    const std::string digits(text, std::max<ssize_t>(n, 0));
    const size_t end = digits.find_first_not_of("0123456789");
    const std::string pid = digits.substr(0, end);
    return pid.empty() ? std::string() : " (process " + pid + ")";
}

// The lock of `name` for this process, or an invalid descriptor with the
// reason in `error`.
UniqueFd ClaimName(const std::string &lockPath, const std::string &name, std::string &error)
{
    // A few rounds: each one lost means an owner removed the file between
    // our open and our lock, which happens once per ending owner.
    for (int round = 0; round < 8; ++round) {
        UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!lock.Valid()) {
            error = SystemText("create", lockPath);
            return {};
        }
        struct flock take = WholeFile(F_WRLCK);
        if (::fcntl(lock.Get(), F_OFD_SETLK, &take) != 0) {
            if (errno == EAGAIN || errno == EACCES)
                error = "the port name " + name + " is in use by a running program" +
                        HolderText(lock.Get());
            else
                error = SystemText("lock", lockPath);
            return {};
        }
        // A lock on a file that is no longer under its name guards nothing.
        if (!SameFile(lock.Get(), lockPath))
            continue;
        // The process id only serves the refusal message of a later claimant.
        const std::string pid = std::to_string(::getpid()) + "\n";
        [[maybe_unused]] const bool noted =
            ::ftruncate(lock.Get(), 0) == 0 &&
            ::pwrite(lock.Get(), pid.data(), pid.size(), 0) == ssize_t(pid.size());
        return lock;
    }
    error = "cannot lock " + lockPath + ": it keeps being replaced";
    return {};
}

// Removed while still locked, so that a claimant who opened it in the
// meantime sees that it no longer carries the name and tries again.
void ReleaseName(const std::string &lockPath, UniqueFd &lock)
{
    if (SameFile(lock.Get(), lockPath))
        ::unlink(lockPath.c_str());
    lock.Reset();
}

// The folder, when it is the user's alone; "" otherwise.
std::string TrustedDir()
{
    const std::string dir = VirtualPortDir();
    return CheckPrivateFolder(dir).ok ? dir : std::string();
}

} // namespace

std::vector<VirtualPort> ListVirtualPorts()
{
    const std::string dir = TrustedDir();
    std::vector<VirtualPort> ports;
    if (dir.empty())
        return ports;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (ValidName(name) && IsLivePort(dir, name))
            ports.push_back({name, dir + name});
    }
    std::sort(ports.begin(), ports.end(),
              [](const VirtualPort &a, const VirtualPort &b) { return a.name < b.name; });
    return ports;
}

std::string FindVirtualPort(const std::string &name)
{
    const std::string dir = TrustedDir();
    return !dir.empty() && ValidName(name) && IsLivePort(dir, name) ? dir + name : std::string();
}

bool AdvertisedPort::Advertise(const std::string &name, const std::string &ttyPath,
                               std::string &error)
{
    Withdraw();
    if (!ValidName(name)) {
        error = "invalid port name '" + name + "'";
        return false;
    }
    const std::string dir = VirtualPortDir();
    if (const FileResult folder = PreparePrivateFolder(dir); !folder.ok) {
        error = folder.error;
        return false;
    }
    const std::string lockPath = LockPath(dir, name);
    UniqueFd lock = ClaimName(lockPath, name, error);
    if (!lock.Valid())
        return false;
    // Build the link under a hidden name and rename it over the old one, so
    // a reader never sees the name missing, half made or twice.
    const std::string link = dir + name;
    const std::string temporary = dir + "." + name + ".tmp" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(ttyPath.c_str(), temporary.c_str()) != 0 ||
        ::rename(temporary.c_str(), link.c_str()) != 0) {
        error = SystemText("create", link);
        ::unlink(temporary.c_str());
        ReleaseName(lockPath, lock);
        return false;
    }
    m_linkPath = link;
    m_lockPath = lockPath;
    m_ttyPath = ttyPath;
    m_lock = std::move(lock);
    return true;
}

void AdvertisedPort::Withdraw()
{
    if (!m_lock.Valid())
        return;
    std::error_code ec;
    if (fs::read_symlink(m_linkPath, ec).string() == m_ttyPath && !ec)
        ::unlink(m_linkPath.c_str());
    ReleaseName(m_lockPath, m_lock);
}

} // namespace platform
