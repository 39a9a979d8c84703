#include "platform/port_names.h"
#include "platform/virtual_ports.h"
#include "tests/common/pty_pair.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <memory>

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

TEST(PortNames, AnAdvertisedVirtualPortWinsOverDev)
{
    TempFolder root;
    ::setenv("XDG_RUNTIME_DIR", root.Path().c_str(), 1);
    PtyPair pty;
    std::string error;
    auto port = std::make_unique<AdvertisedPort>();
    ASSERT_TRUE(port->Advertise("ttyS0", pty.SlavePath(), error)) << error;
    EXPECT_EQ(DevicePathForPort("ttyS0"), root.File("kestrel-ports/ttyS0"));
    EXPECT_EQ(DevicePathForPort("ttyS1"), "/dev/ttyS1");
    port.reset();
    EXPECT_EQ(DevicePathForPort("ttyS0"), "/dev/ttyS0") << "withdrawn";
}

TEST(PortNames, SerialAdaptersAreTheDevicesOfDevTheirLinksLeadTo)
{
    namespace fs = std::filesystem;
    TempFolder byId;
    PtyPair pty;
    const std::pair<const char *, std::string> links[] = {
        {"usb-A-if00", "/dev/null"},
        {"usb-A-if01", "/dev/null"},       // a second name of the same device
        {"usb-B-if00", fs::relative("/dev/full", byId.Path())}, // relative, as udev makes them
        {"usb-C-if00", pty.SlavePath()},   // below /dev: no bare name opens it
        {"usb-D-if00", "/dev/shm"},        // not a device
        {"usb-E-if00", byId.File("gone")},
    };
    for (const auto &[name, target] : links)
        fs::create_symlink(target, byId.File(name));
    EXPECT_EQ(ListSerialDevices(byId.Path()), (std::vector<std::string>{"full", "null"}));
    EXPECT_TRUE(ListSerialDevices(byId.File("none")).empty());
}
