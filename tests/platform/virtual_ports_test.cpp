#include "platform/port_names.h"
#include "platform/virtual_ports.h"
#include "tests/common/pty_pair.h"
#include "tests/common/scoped_env.h"
#include "tests/common/temp_folder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <pwd.h>

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

    // Withdrawn once, the name is not withdrawn again from its next owner.
    AdvertisedPort next;
    ASSERT_TRUE(next.Advertise("SIM0", m_pty.SlavePath(), error)) << error;
    port.Withdraw();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{"SIM0"});
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

// Nothing is written through a link planted as the lock file, and a link
// that no longer leads to the owner's terminal is not the owner's to remove.
TEST_F(VirtualPorts, PlantedLinksAreNeitherFollowedNorRemoved)
{
    std::string error;
    AdvertisedPort port;
    ASSERT_TRUE(port.Advertise("SIM0", m_pty.SlavePath(), error)) << error;
    fs::remove(VirtualPortDir() + "SIM0");
    fs::create_symlink("/dev/null", VirtualPortDir() + "SIM0");
    port.Withdraw();
    EXPECT_EQ(fs::read_symlink(VirtualPortDir() + "SIM0"), "/dev/null");

    fs::create_symlink(m_root.File("target"), VirtualPortDir() + ".SIM1.lock");
    EXPECT_FALSE(port.Advertise("SIM1", m_pty.SlavePath(), error));
    EXPECT_EQ(error, "cannot create " + VirtualPortDir() + ".SIM1.lock: " + std::strerror(ELOOP));
    EXPECT_FALSE(fs::exists(m_root.File("target")));
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

// Trusted only as the user's own: a link that another user planted, and a
// folder that another user owns or may write, count as if they were not there.
TEST_F(VirtualPorts, OnlyTheUsersOwnFolderAndLinksCount)
{
    const mode_t umaskBefore = ::umask(022);
    std::string error;
    AdvertisedPort port;
    ASSERT_TRUE(port.Advertise("SIM0", m_pty.SlavePath(), error)) << error;
    ::umask(umaskBefore);
    const std::string dir = VirtualPortDir();
    EXPECT_EQ(ModeOf(dir), 0700u);

    const bool root = ::geteuid() == 0;
    fs::create_symlink(m_pty.SlavePath(), dir + "EVIL");
    if (root) {
        ASSERT_EQ(::lchown((dir + "EVIL").c_str(), 65534, 65534), 0);
        EXPECT_EQ(ListedNames(), std::vector<std::string>{"SIM0"});
        EXPECT_EQ(DevicePathForPort("EVIL"), "/dev/EVIL");
    }

    std::vector<std::tuple<mode_t, uid_t, std::string>> folders = {
        {0777, ::geteuid(), "other users may write to it"}};
    if (root) // only root can give the folder away
        folders.push_back({0700, 65534, "another user owns it"});
    for (const auto &[mode, owner, why] : folders) {
        ASSERT_EQ(::chmod(dir.c_str(), mode) | ::chown(dir.c_str(), owner, ::getegid()), 0);
        EXPECT_TRUE(ListVirtualPorts().empty()) << why;
        EXPECT_EQ(FindVirtualPort("SIM0"), "") << why;
        AdvertisedPort other;
        EXPECT_FALSE(other.Advertise("SIM1", m_pty.SlavePath(), error));
        EXPECT_EQ(error, "Cannot use the folder \"" + dir + "\": " + why);
        ASSERT_EQ(::chmod(dir.c_str(), 0700) | ::chown(dir.c_str(), ::geteuid(), ::getegid()), 0);
    }
}

TEST(VirtualPortFolder, NeverASharedFolder)
{
    const ScopedEnv runtime("XDG_RUNTIME_DIR", "relative/run");
    const ScopedEnv home("HOME", nullptr);
    EXPECT_EQ(VirtualPortDir(),
              std::string(::getpwuid(::getuid())->pw_dir) + "/.cache/kestrel-ports/")
        << "the home folder from the password database, not /tmp";
}
