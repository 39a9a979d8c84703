#include "platform/port_names.h"
#include "platform/virtual_ports.h"
#include "tests/link/pty_pair.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;

TEST(PortNames, PathsStayBareNamesLiveInDev)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", ""},
        {"ttyUSB0", "/dev/ttyUSB0"},
        {"ttyS12", "/dev/ttyS12"},
        {"/dev/ttyACM0", "/dev/ttyACM0"},
        {"/dev/pts/3", "/dev/pts/3"},
        {"serial/by-id/usb-x", "serial/by-id/usb-x"},
    };
    for (const auto &[name, path] : cases)
        EXPECT_EQ(DevicePathForPort(name), path) << name;
}

TEST(PortNames, AnAdvertisedVirtualPortWinsOverDev)
{
    char pattern[] = "/tmp/kestrel-pn-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    ::setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
    PtyPair pty;
    std::string error;
    ASSERT_TRUE(AdvertiseVirtualPort("ttyS0", pty.SlavePath(), error)) << error;
    EXPECT_EQ(DevicePathForPort("ttyS0"), root + "/kestrel-ports/ttyS0");
    EXPECT_EQ(DevicePathForPort("ttyS1"), "/dev/ttyS1");
    std::filesystem::remove_all(root);
}

TEST(PortNames, FileNamesNeverHoldASlash)
{
    const std::pair<const char *, const char *> cases[] = {
        {"ttyUSB0", "ttyUSB0"},
        {"SIM0", "SIM0"},
        {"/dev/ttyUSB0", "ttyUSB0"},
        {"/dev/pts/3", "pts_3"},
        {"/dev/serial/by-id/usb-FTDI", "serial_by-id_usb-FTDI"},
        {"/tmp/ports/SIM1", "tmp_ports_SIM1"},
        {"pts/4", "pts_4"},
        {"", ""},
    };
    for (const auto &[name, fileName] : cases)
        EXPECT_EQ(PortFileName(name), fileName) << name;
}
