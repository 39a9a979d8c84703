#include "platform/serial_ports.h"

#include "platform/virtual_ports.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace platform {

namespace {

namespace fs = std::filesystem;

// A name with a number from `first` to `last` after `prefix`.
bool NumberedName(std::string_view name, std::string_view prefix, int first, int last)
{
    if (!name.starts_with(prefix) || name.size() == prefix.size() ||
        name.size() > prefix.size() + 3)
        return false;
    int number = 0;
    for (char c : name.substr(prefix.size())) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        number = number * 10 + (c - '0');
    }
    return number >= first && number <= last;
}

// Serial ports that never sit on a device of their own.
bool DevicelessSerialPort(std::string_view name)
{
    return NumberedName(name, "rfcomm", 0, 255) || name.starts_with("ttyGS") ||
           name.starts_with("tnt");
}

std::string FirstLine(const fs::path &file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return line;
}

// The USB device the tty belongs to is the nearest folder above it that
// carries the vendor's number; it holds the adapter's strings.
void ReadUsbStrings(fs::path device, SystemSerialPort &port)
{
    for (int depth = 0; depth < 16 && device.has_relative_path(); ++depth) {
        std::error_code error;
        if (fs::exists(device / "idVendor", error)) {
            port.manufacturer = FirstLine(device / "manufacturer");
            port.product = FirstLine(device / "product");
            port.serialNumber = FirstLine(device / "serial");
            return;
        }
        device = device.parent_path();
    }
}

// ttyS2 before ttyS10: names compared with their numbers as numbers.
bool NameOrder(const std::string &a, const std::string &b)
{
    const auto split = [](const std::string &name) {
        const size_t digits = name.find_last_not_of("0123456789") + 1;
        const std::string number = name.substr(digits);
        return std::pair(name.substr(0, digits),
                         number.empty() ? -1L : std::stol(number.substr(0, 9)));
    };
    return split(a) < split(b) || (split(a) == split(b) && a < b);
}

void SortByName(std::vector<SystemSerialPort> &ports)
{
    std::sort(ports.begin(), ports.end(),
              [](const auto &a, const auto &b) { return NameOrder(a.name, b.name); });
}

std::string Describe(const SystemSerialPort &port)
{
    std::string text = port.manufacturer;
    if (!port.product.empty())
        text += (text.empty() ? "" : " ") + port.product;
    if (!port.serialNumber.empty())
        text += (text.empty() ? "serial " : ", serial ") + port.serialNumber;
    return text;
}

} // namespace

std::vector<SystemSerialPort> ListSystemSerialPorts(const std::string &classDir)
{
    std::vector<SystemSerialPort> ports;
    std::error_code error;
    for (fs::directory_iterator it(classDir, error), end; !error && it != end;
         it.increment(error)) {
        SystemSerialPort port;
        port.name = it->path().filename();
        const fs::path device = it->path() / "device";
        std::error_code missing;
        if (!fs::exists(device, missing)) {
            if (!DevicelessSerialPort(port.name))
                continue;
        } else {
            // A UART port's type; "0" is the kernel's word for no UART found.
            if (fs::exists(it->path() / "type", missing) && FirstLine(it->path() / "type") == "0")
                continue;
            ReadUsbStrings(fs::canonical(device, missing), port);
        }
        ports.push_back(std::move(port));
    }
    SortByName(ports);
    return ports;
}

std::vector<OfferedPort> OfferPorts(std::vector<SystemSerialPort> system)
{
    SortByName(system);
    std::vector<OfferedPort> offered;
    for (SystemSerialPort &port : system) {
        std::string description = Describe(port);
        offered.push_back({port.name, std::move(description), false, std::move(port)});
    }
    for (const VirtualPort &port : ListVirtualPorts())
        offered.push_back({port.name, "Virtual port (" + port.name + ")", true, {}});
    return offered;
}

std::vector<OfferedPort> ListOfferedPorts(const std::string &classDir)
{
    return OfferPorts(ListSystemSerialPorts(classDir));
}

} // namespace platform
