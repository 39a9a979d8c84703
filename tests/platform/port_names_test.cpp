#include "platform/port_names.h"
#include "platform/serial_ports.h"
#include "tests/common/scoped_env.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(PortNames, BareNamesLiveInDevPathsStayAndFileNamesHoldNoSlash)
{
    struct Case
    {
        const char *name, *path, *fileName;
    };
    // clang-format off
    const Case cases[] = {
        {"",                           "",                           ""},
        {"ttyUSB0",                    "/dev/ttyUSB0",               "ttyUSB0"},
        {"ttyS12",                     "/dev/ttyS12",                "ttyS12"},
        {"/dev/ttyACM0",               "/dev/ttyACM0",               "ttyACM0"},
        {"/dev/pts/3",                 "/dev/pts/3",                 "pts_3"},
        {"pts/4",                      "pts/4",                      "pts_4"},
        {"/dev/serial/by-id/usb-FTDI", "/dev/serial/by-id/usb-FTDI", "serial_by-id_usb-FTDI"},
        {"/tmp/ports/SIM1",            "/tmp/ports/SIM1",            "tmp_ports_SIM1"},
    };
    // clang-format on
    for (const Case &c : cases) {
        EXPECT_EQ(DevicePathForPort(c.name), c.path) << c.name;
        EXPECT_EQ(PortFileName(c.name), c.fileName) << c.name;
    }
}

// A tty tree as the kernel shows it: a USB adapter with its strings, a
// board's UART, the ttyS ports the kernel names without a UART behind, a
// console, a Bluetooth link and a virtual terminal.
TEST(PortNames, TheSerialPortsAreTheTtysOnADeviceAndTheUartsFound)
{
    namespace fs = std::filesystem;
    TempFolder sys;
    const auto tty = [&](const std::string &device, const std::string &name, const char *type) {
        const fs::path dir = sys.File("devices/" + device + "/tty/" + name);
        fs::create_directories(dir);
        if (type)
            WriteBytes(dir / "type", std::string(type) + "\n");
        if (device.find("virtual") == std::string::npos)
            fs::create_directory_symlink("../..", dir / "device");
        fs::create_directories(sys.File("class"));
        fs::create_directory_symlink(dir, sys.File("class/" + name));
    };
    const std::string usb = "pci0/usb1/1-2";
    fs::create_directories(sys.File("devices/" + usb));
    for (const auto &[file, text] : {std::pair{"idVendor", "0403"},
                                     {"manufacturer", "FTDI"},
                                     {"product", "FT232R USB UART"},
                                     {"serial", "A50285BI"}})
        WriteBytes(sys.File("devices/" + usb + "/" + file), std::string(text) + "\n");
    tty(usb + "/1-2:1.0/ttyUSB0", "ttyUSB0", nullptr);
    tty("pnp0/00:01", "ttyS0", "4");
    tty("platform/serial8250", "ttyS1", "0");
    tty("platform/serial8250", "ttyS10", "4");
    tty("platform/serial8250", "ttyS2", "4");
    tty("virtual/tty", "console", nullptr);
    tty("virtual/tty", "tty0", nullptr);
    tty("virtual/tty", "rfcomm0", nullptr);
    tty("virtual/tty", "rfcomm256", nullptr);

    std::vector<std::string> names;
    for (const SystemSerialPort &port : ListSystemSerialPorts(sys.File("class")))
        names.push_back(port.name);
    EXPECT_EQ(names, (std::vector<std::string>{"rfcomm0", "ttyS0", "ttyS2", "ttyS10", "ttyUSB0"}));
    const ScopedEnv noVirtualPorts("XDG_RUNTIME_DIR", sys.Path().c_str());
    const std::vector<OfferedPort> offered = ListOfferedPorts(sys.File("class"));
    ASSERT_EQ(offered.size(), 5u);
    EXPECT_EQ(offered[4].description, "FTDI FT232R USB UART, serial A50285BI");
    EXPECT_EQ(offered[1].description, "") << "a UART tells nothing of itself";
    EXPECT_TRUE(ListSystemSerialPorts(sys.File("none")).empty());
}
