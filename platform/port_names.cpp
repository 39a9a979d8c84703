#include "platform/port_names.h"

#include "platform/virtual_ports.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string_view>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr std::string_view kDevDir = "/dev/";

bool IsPath(const std::string &portName)
{
    return portName.find('/') != std::string::npos;
}

} // namespace

std::string DevicePathForPort(const std::string &portName)
{
    if (portName.empty() || IsPath(portName))
        return portName;
    std::string advertised = FindVirtualPort(portName);
    if (!advertised.empty())
        return advertised;
    return std::string(kDevDir) + portName;
}

std::string PortFileName(const std::string &portName)
{
    std::string_view name = portName;
    if (name.starts_with(kDevDir))
        name.remove_prefix(kDevDir.size());
    while (name.starts_with('/'))
        name.remove_prefix(1);
    std::string fileName(name);
    std::replace(fileName.begin(), fileName.end(), '/', '_');
    return fileName;
}

std::vector<std::string> ListSerialDevices(const std::string &byIdDir)
{
    namespace fs = std::filesystem;
    std::set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(byIdDir, error), end; !error && it != end; it.increment(error)) {
        // A link that leads elsewhere than a device of /dev cannot be
        // opened by its bare name.
        std::error_code unresolved;
        const fs::path device = fs::canonical(it->path(), unresolved);
        struct stat info{};
        if (!unresolved && device.parent_path() == "/dev" && ::stat(device.c_str(), &info) == 0 &&
            S_ISCHR(info.st_mode))
            names.insert(device.filename());
    }
    return {names.begin(), names.end()};
}

} // namespace platform
