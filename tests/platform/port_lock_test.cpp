// A run holds its port with a claim that turns away every other run at once,
// leaves its own opens of the device alone, and never keeps the device open
// itself, so that the terminal sees the port closed between them.

#include "platform/port_lock.h"
#include "platform/serial_device.h"
#include "tests/common/pty_pair.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace platform;

namespace {

// How many descriptors of this process refer to the device.
int DescriptorsOn(const std::string &devicePath)
{
    struct stat device = {};
    if (::stat(devicePath.c_str(), &device) != 0)
        return -1;
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        struct stat info = {};
        if (::stat(entry.path().c_str(), &info) == 0 && S_ISCHR(info.st_mode) &&
            info.st_rdev == device.st_rdev)
            ++count;
    }
    return count;
}

TEST(PortLock, TurnsAwayASecondHolderButNotTheHoldersOwnOpens)
{
    PtyPair pty;
    const int before = DescriptorsOn(pty.SlavePath());
    PortLock first, second;
    ASSERT_EQ(first.Acquire(pty.SlavePath()), PortLock::Result::Held);
    EXPECT_EQ(DescriptorsOn(pty.SlavePath()), before) << "the claim keeps the device closed";
    // Runs of every version meet at one claim file named for the device.
    struct stat node = {};
    ASSERT_EQ(::stat(pty.SlavePath().c_str(), &node), 0);
    char claim[96];
    std::snprintf(claim, sizeof claim, "kestrel-port-%u-%u-%lld.%09ld.lock", major(node.st_rdev),
                  minor(node.st_rdev), static_cast<long long>(node.st_ctim.tv_sec),
                  node.st_ctim.tv_nsec);
    EXPECT_TRUE(std::filesystem::exists(PortLock::kLockFolder + std::string(claim)));
    EXPECT_EQ(second.Acquire(pty.SlavePath()), PortLock::Result::InUse);
    EXPECT_FALSE(second.Held());

    // Another name of the same device meets the same claim.
    TempFolder folder;
    const std::string link = folder.File("SIM9");
    ASSERT_EQ(::symlink(pty.SlavePath().c_str(), link.c_str()), 0);
    EXPECT_EQ(second.Acquire(link), PortLock::Result::InUse);
    EXPECT_TRUE(first.HeldFor(link));

    // The port proper opens and closes under the claim, as the login and the
    // job do one after the other.
    for (int open = 0; open < 2; ++open) {
        SerialDevice device;
        EXPECT_TRUE(device.Open(pty.SlavePath())) << device.LastErrorText();
    }

    first.Release();
    EXPECT_EQ(second.Acquire(pty.SlavePath()), PortLock::Result::Held) << "free again";
    EXPECT_EQ(first.Acquire("/dev/kestrel-no-such-port"), PortLock::Result::Unavailable);
    EXPECT_EQ(first.Acquire(folder.Path()), PortLock::Result::Unavailable) << "not a device";
}

} // namespace
