#include "platform/virtual_ports.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

std::string VirtualPortDir()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return std::string(runtime) + "/kestrel-ports/";
    const char *home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.cache/kestrel-ports/";
}

namespace {

bool IsLinkToCharDevice(const std::string &path)
{
    struct stat linkInfo{}, target{};
    return ::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)
        && ::stat(path.c_str(), &target) == 0 && S_ISCHR(target.st_mode);
}

bool ValidName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

std::vector<VirtualPort> ListVirtualPorts()
{
    std::vector<VirtualPort> ports;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(VirtualPortDir(), ec)) {
        const std::string path = entry.path().string();
        if (IsLinkToCharDevice(path))
            ports.push_back({entry.path().filename().string(), path});
    }
    std::sort(ports.begin(), ports.end(),
              [](const VirtualPort &a, const VirtualPort &b) { return a.name < b.name; });
    return ports;
}

std::string FindVirtualPort(const std::string &name)
{
    if (!ValidName(name))
        return {};
    const std::string path = VirtualPortDir() + name;
    return IsLinkToCharDevice(path) ? path : std::string();
}

bool AdvertiseVirtualPort(const std::string &name, const std::string &ttyPath, std::string &error)
{
    if (!ValidName(name)) {
        error = "invalid port name '" + name + "'";
        return false;
    }
    const std::string dir = VirtualPortDir();
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    // Build the link beside its final name and rename it over, so a reader
    // never sees the name missing or half made.
    const std::string link = dir + name;
    const std::string temporary = link + ".tmp" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(ttyPath.c_str(), temporary.c_str()) != 0
        || ::rename(temporary.c_str(), link.c_str()) != 0) {
        error = "cannot create " + link + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void WithdrawVirtualPort(const std::string &name, const std::string &ttyPath)
{
    if (!ValidName(name))
        return;
    const std::string link = VirtualPortDir() + name;
    std::error_code ec;
    if (fs::read_symlink(link, ec).string() == ttyPath && !ec)
        ::unlink(link.c_str());
}

} // namespace platform
