#pragma once
// Which serial ports the program offers: the system's serial ports, then the
// advertised virtual ports. `kestrel-cli ports` takes the system's ports
// from the kernel's tty class below; the program's login takes them from
// Qt's serial port information, which applies the same filter, and both
// describe and order them here.
//
// A tty of the system counts when it sits on a device (a USB adapter, a
// board's UART), and a UART port only when the kernel found a UART there:
// it names four or more built-in ttyS ports whether or not the machine has
// them, and tells their UART type ("0", unknown, for none). Consoles,
// virtual terminals and ptys have no device and do not count, except
// Bluetooth serial links (rfcommN), USB gadget ports (ttyGSN) and
// null-modem emulators (tntN), which never have one. Nothing is opened.

#include <string>
#include <vector>

namespace platform {

struct SystemSerialPort
{
    std::string name; // as the user types it: "ttyUSB0"
    // What the adapter says of itself (USB adapters only; empty otherwise).
    std::string manufacturer;
    std::string product;
    std::string serialNumber;
};

// Where the system shows its ttys; tests point at a tree of their own.
inline constexpr const char *kTtyClassDir = "/sys/class/tty/";

// The system's serial ports as the kernel shows them in classDir, ordered
// by name (ttyS2 before ttyS10).
std::vector<SystemSerialPort> ListSystemSerialPorts(const std::string &classDir = kTtyClassDir);

struct OfferedPort
{
    std::string name;
    // "FTDI FT232R USB UART, serial A50285BI" for an adapter that tells
    // (maker, model, serial number), "Virtual port (SIM0)" for a virtual
    // port, empty for a port that tells nothing.
    std::string description;
    bool isVirtual = false;
    SystemSerialPort system; // the adapter's own words, for a system port
};

// The given system ports ordered by name (ttyS2 before ttyS10), each with
// its description, then the advertised virtual ports.
std::vector<OfferedPort> OfferPorts(std::vector<SystemSerialPort> system);
// The same over ListSystemSerialPorts: what `kestrel-cli ports` lists.
std::vector<OfferedPort> ListOfferedPorts(const std::string &classDir = kTtyClassDir);

} // namespace platform
