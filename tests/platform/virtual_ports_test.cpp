#include "platform/virtual_ports.h"
#include "tests/common/pty_pair.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

using namespace platform;
namespace fs = std::filesystem;

class VirtualPorts : public ::testing::Test
{
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", m_root.Path().c_str(), 1); }

    TempFolder m_root;
    PtyPair m_pty;
};

TEST_F(VirtualPorts, AdvertisedLinksAreListedAndWithdrawn)
{
    EXPECT_EQ(VirtualPortDir(), m_root.File("kestrel-ports/"));
    EXPECT_TRUE(ListVirtualPorts().empty()) << "a missing folder lists nothing";

    std::string error;
    ASSERT_TRUE(AdvertiseVirtualPort("SIM0", m_pty.SlavePath(), error)) << error;
    ASSERT_TRUE(AdvertiseVirtualPort("SIM0", m_pty.SlavePath(), error)) << "replacing works";
    const auto ports = ListVirtualPorts();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].name, "SIM0");
    EXPECT_EQ(FindVirtualPort("SIM0"), m_root.File("kestrel-ports/SIM0"));

    WithdrawVirtualPort("SIM0", "/dev/null"); // someone else's link stays
    EXPECT_EQ(ListVirtualPorts().size(), 1u);
    WithdrawVirtualPort("SIM0", m_pty.SlavePath());
    EXPECT_TRUE(ListVirtualPorts().empty());
}

TEST_F(VirtualPorts, OnlyLinksToCharacterDevicesCount)
{
    const std::string dir = VirtualPortDir();
    fs::create_directories(dir);
    fs::create_symlink("/nonexistent/pts/99", dir + "STALE");
    fs::create_symlink("/etc/hostname", dir + "FILE");
    WriteBytes(dir + "PLAIN", "x");
    std::string error;
    EXPECT_FALSE(AdvertiseVirtualPort("../evil", m_pty.SlavePath(), error));
    EXPECT_FALSE(AdvertiseVirtualPort("", m_pty.SlavePath(), error));
    EXPECT_TRUE(ListVirtualPorts().empty());
    EXPECT_EQ(FindVirtualPort("STALE"), "");
    EXPECT_EQ(FindVirtualPort("../kestrel-ports/STALE"), "");
}
