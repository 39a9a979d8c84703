// A run holds its port with a lock that turns away every other run at once
// and leaves its own opens of the device alone.

#include "platform/port_lock.h"
#include "platform/serial_device.h"
#include "tests/common/pty_pair.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(PortLock, TurnsAwayASecondHolderButNotTheHoldersOwnOpens)
{
    PtyPair pty;
    PortLock first, second;
    ASSERT_EQ(first.Acquire(pty.SlavePath()), PortLock::Result::Held);
    EXPECT_EQ(second.Acquire(pty.SlavePath()), PortLock::Result::InUse);
    EXPECT_FALSE(second.Held());

    // The port proper opens and closes under the lock, as the login and the
    // job do one after the other.
    for (int open = 0; open < 2; ++open) {
        SerialDevice device;
        EXPECT_TRUE(device.Open(pty.SlavePath())) << device.LastErrorText();
    }

    first.Release();
    EXPECT_EQ(second.Acquire(pty.SlavePath()), PortLock::Result::Held) << "free again";
    EXPECT_EQ(first.Acquire("/dev/kestrel-no-such-port"), PortLock::Result::Unavailable);
}

TEST(PortLock, APortOpenedForItselfAloneIsInUse)
{
    PtyPair pty;
    SerialDevice device;
    ASSERT_TRUE(device.Open(pty.SlavePath()));
    PortLock lock;
    // The device's own flock does not meet the run's lock, but the open
    // device turns away other users (TIOCEXCL) unless they are root.
    const PortLock::Result result = lock.Acquire(pty.SlavePath());
    EXPECT_EQ(result, ::geteuid() == 0 ? PortLock::Result::Held : PortLock::Result::InUse);
}
