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

    static std::vector<std::string> ListedNames()
    {
        std::vector<std::string> names;
        for (const VirtualPort &port : ListVirtualPorts())
            names.push_back(port.name);
        return names;
    }

    TempFolder m_root;
    PtyPair m_pty;
};

TEST_F(VirtualPorts, AdvertisedLinksAreListedAndWithdrawn)
{
    EXPECT_EQ(VirtualPortDir(), m_root.File("kestrel-ports/"));
    EXPECT_TRUE(ListVirtualPorts().empty()) << "a missing folder lists nothing";

    std::string error;
    AdvertisedPort port;
    ASSERT_TRUE(port.Advertise("SIM0", "/dev/null", error)) << error;
    ASSERT_TRUE(port.Advertise("SIM0", m_pty.SlavePath(), error)) << "re-advertising works";
    const auto ports = ListVirtualPorts();
    ASSERT_EQ(ports.size(), 1u) << "the lock file is not a port";
    EXPECT_EQ(ports[0].name, "SIM0");
    EXPECT_EQ(ports[0].path, m_root.File("kestrel-ports/SIM0"));
    EXPECT_EQ(FindVirtualPort("SIM0"), m_root.File("kestrel-ports/SIM0"));

    port.Withdraw();
    EXPECT_TRUE(ListVirtualPorts().empty());
    EXPECT_TRUE(fs::is_empty(VirtualPortDir())) << "link and lock are both gone";
}

TEST_F(VirtualPorts, ANameIsHeldByOneOwnerAtATime)
{
    std::string error;
    auto first = std::make_unique<AdvertisedPort>();
    ASSERT_TRUE(first->Advertise("SIM0", m_pty.SlavePath(), error)) << error;

    AdvertisedPort second;
    EXPECT_FALSE(second.Advertise("SIM0", "/dev/null", error));
    EXPECT_EQ(error, "the port name SIM0 is in use by a running program (process " +
                         std::to_string(::getpid()) + ")");
    EXPECT_EQ(fs::read_symlink(FindVirtualPort("SIM0")), m_pty.SlavePath())
        << "the refused claimant leaves the owner's link alone";

    first.reset(); // its owner ends
    EXPECT_EQ(FindVirtualPort("SIM0"), "");
    EXPECT_TRUE(second.Advertise("SIM0", m_pty.SlavePath(), error)) << error;
    EXPECT_EQ(ListedNames(), std::vector<std::string>{"SIM0"});
}

TEST_F(VirtualPorts, ALinkWhoseOwnerIsGoneIsSkippedUntilANewOwnerReplacesIt)
{
    // What a killed owner leaves: its link, still pointing at a live tty
    // that someone else may use by now, and its lock file, held by nobody.
    const std::string dir = VirtualPortDir();
    fs::create_directories(dir);
    fs::create_symlink(m_pty.SlavePath(), dir + "SIM0");
    WriteBytes(dir + ".SIM0.lock", "999999\n");
    // Made by hand (socat, a bridge): no lock file beside it.
    fs::create_symlink(m_pty.SlavePath(), dir + "SOCAT");

    EXPECT_EQ(ListedNames(), std::vector<std::string>{"SOCAT"});
    EXPECT_EQ(FindVirtualPort("SIM0"), "");
    EXPECT_EQ(FindVirtualPort("SOCAT"), dir + "SOCAT");

    PtyPair other;
    AdvertisedPort port;
    std::string error;
    ASSERT_TRUE(port.Advertise("SIM0", other.SlavePath(), error)) << error;
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"SIM0", "SOCAT"}));
    EXPECT_EQ(fs::read_symlink(FindVirtualPort("SIM0")), other.SlavePath());
}

TEST_F(VirtualPorts, OnlyLinksToCharacterDevicesUnderPlainNamesCount)
{
    const std::string dir = VirtualPortDir();
    fs::create_directories(dir);
    fs::create_symlink("/nonexistent/pts/99", dir + "STALE");
    fs::create_symlink("/etc/hostname", dir + "FILE");
    fs::create_symlink(m_pty.SlavePath(), dir + ".HIDDEN");
    WriteBytes(dir + "PLAIN", "x");
    AdvertisedPort port;
    std::string error;
    for (const char *name : {"../evil", "", ".", "..", ".HIDDEN", "a/b"}) {
        EXPECT_FALSE(port.Advertise(name, m_pty.SlavePath(), error)) << name;
        EXPECT_EQ(error, std::string("invalid port name '") + name + "'");
    }
    EXPECT_TRUE(ListVirtualPorts().empty());
    EXPECT_EQ(FindVirtualPort("STALE"), "");
    EXPECT_EQ(FindVirtualPort(".HIDDEN"), "");
    EXPECT_EQ(FindVirtualPort("../kestrel-ports/STALE"), "");
}
