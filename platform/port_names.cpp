#include "platform/port_names.h"

#include "platform/virtual_ports.h"

#include <algorithm>
#include <string_view>

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

} // namespace platform
