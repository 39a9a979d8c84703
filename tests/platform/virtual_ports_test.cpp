#include "platform/virtual_ports.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace platform;
namespace fs = std::filesystem;

class VirtualPorts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kestrel-vp-XXXXXX";
        m_root = ::mkdtemp(pattern);
        ::setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
        char name[64];
        ASSERT_EQ(::openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        m_tty = name;
    }
    void TearDown() override
    {
        ::close(m_master);
        ::close(m_slave);
        fs::remove_all(m_root);
    }

    std::string m_root, m_tty;
    int m_master = -1, m_slave = -1;
};

TEST_F(VirtualPorts, AdvertisedLinksAreListedAndWithdrawn)
{
    EXPECT_EQ(VirtualPortDir(), m_root + "/kestrel-ports/");
    EXPECT_TRUE(ListVirtualPorts().empty()) << "a missing folder lists nothing";

    std::string error;
    ASSERT_TRUE(AdvertiseVirtualPort("SIM0", m_tty, error)) << error;
    ASSERT_TRUE(AdvertiseVirtualPort("SIM0", m_tty, error)) << "replacing works";
    const auto ports = ListVirtualPorts();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].name, "SIM0");
    EXPECT_EQ(FindVirtualPort("SIM0"), m_root + "/kestrel-ports/SIM0");

    WithdrawVirtualPort("SIM0", "/dev/null"); // someone else's link stays
    EXPECT_EQ(ListVirtualPorts().size(), 1u);
    WithdrawVirtualPort("SIM0", m_tty);
    EXPECT_TRUE(ListVirtualPorts().empty());
}

TEST_F(VirtualPorts, OnlyLinksToCharacterDevicesCount)
{
    const std::string dir = VirtualPortDir();
    fs::create_directories(dir);
    fs::create_symlink("/nonexistent/pts/99", dir + "STALE");
    fs::create_symlink("/etc/hostname", dir + "FILE");
    { std::ofstream(dir + "PLAIN") << "x"; }
    std::string error;
    EXPECT_FALSE(AdvertiseVirtualPort("../evil", m_tty, error));
    EXPECT_FALSE(AdvertiseVirtualPort("", m_tty, error));
    EXPECT_TRUE(ListVirtualPorts().empty());
    EXPECT_EQ(FindVirtualPort("STALE"), "");
    EXPECT_EQ(FindVirtualPort("../kestrel-ports/STALE"), "");
}
