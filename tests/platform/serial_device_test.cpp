#include "platform/port_error.h"
#include "platform/serial_device.h"
#include "tests/common/pty_pair.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <thread>
#include <utility>

using namespace platform;

// A device opened on the slave of a pty and set to 115200 8N1.
class SerialDeviceOnPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Open(pty.SlavePath())) << device.LastErrorText();
        ASSERT_TRUE(device.Configure("115200"));
    }

    PtyPair pty;
    SerialDevice device;
};

TEST_F(SerialDeviceOnPty, ConfiguresRawEightNOneAtTheLeadingDigitsOfTheBaudText)
{
    const std::tuple<const char *, bool, speed_t> cases[] = {
        {"115200", true, B115200}, {"2400", true, B2400}, {"9600bps", true, B9600},
        {"57600 ", true, B57600},  {"", false, B0},       {"abc", false, B0},
        {"0", false, B0},          {"12345", false, B0},  {"99999999999999999999", false, B0},
        {"-9600", false, B0},
    };
    for (const auto &[text, accepted, speed] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(device.Configure(text), accepted);
        if (!accepted) {
            EXPECT_EQ(device.LastError(), EINVAL);
            continue;
        }
        termios settings{};
        ASSERT_EQ(::tcgetattr(pty.Slave(), &settings), 0);
        EXPECT_EQ(::cfgetospeed(&settings), speed);
        EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        EXPECT_EQ(settings.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
        EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ICRNL), 0u);
        EXPECT_EQ(settings.c_lflag & (ICANON | ECHO), 0u);
        EXPECT_EQ(settings.c_cc[VMIN], 1);
        EXPECT_EQ(settings.c_cc[VTIME], 0);
    }
    // The modem lines of a pty are not supported rather than failing.
    EXPECT_NE(device.RaiseDtr(), ModemLineResult::Failed);
    EXPECT_NE(device.RaiseRts(), ModemLineResult::Failed);
}

TEST_F(SerialDeviceOnPty, ConfigureClearsWhatAnotherProgramLeftOnTheLine)
{
    // Two stop bits, odd parity checked and marked on input, RTS/CTS and
    // XON/XOFF both ways, as a modem program may leave a tty. (A pty forces
    // 8 bits without parity itself, so the parity shows in the parity kind
    // and the input check.)
    constexpr tcflag_t kLineBits = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS;
    constexpr tcflag_t kLeftLine = CSTOPB | PARODD | CMSPAR | CRTSCTS;
    constexpr tcflag_t kInputBits = IXON | IXOFF | IXANY | INPCK | PARMRK;
    termios left{};
    ASSERT_EQ(::tcgetattr(pty.Slave(), &left), 0);
    left.c_cflag |= kLeftLine | PARENB;
    left.c_iflag |= kInputBits;
    ASSERT_EQ(::tcsetattr(pty.Slave(), TCSANOW, &left), 0);
    ASSERT_EQ(::tcgetattr(pty.Slave(), &left), 0);
    ASSERT_EQ(left.c_cflag & kLineBits, CS8 | kLeftLine) << "else this shows nothing";
    ASSERT_EQ(left.c_iflag & kInputBits, kInputBits);

    ASSERT_TRUE(device.Configure("9600")) << device.LastErrorText();
    termios configured{};
    ASSERT_EQ(::tcgetattr(pty.Slave(), &configured), 0);
    EXPECT_EQ(configured.c_cflag & kLineBits, tcflag_t(CS8)) << "8N1 without RTS/CTS";
    EXPECT_EQ(configured.c_iflag & kInputBits, 0u) << "no XON/XOFF, no parity check";
}

TEST(SerialDevice, OpenFailuresKeepTheErrorCode)
{
    SerialDevice device;
    EXPECT_FALSE(device.Open("/dev/kestrel-no-such-port"));
    EXPECT_EQ(device.LastError(), ENOENT);
    EXPECT_FALSE(device.LastErrorText().empty());
    EXPECT_FALSE(device.IsOpen());

    ASSERT_TRUE(device.Open("/dev/null")) << "a character device opens";
    EXPECT_FALSE(device.Configure("115200")) << "but it is no serial line";
    EXPECT_EQ(device.LastError(), ENOTTY);
}

// The login tells the user what to do for the first two kinds only.
TEST(PortError, SortsTheSystemCodes)
{
    using enum PortErrorKind;
    const std::pair<int, PortErrorKind> cases[] = {
        {0, None},      {EBUSY, InUse},     {EACCES, PermissionDenied},
        {EPERM, Other}, {ENOENT, NotFound}, {EIO, Other},
    };
    for (const auto &[code, kind] : cases) {
        EXPECT_EQ(PortErrorOf(code).kind, kind) << code;
        EXPECT_EQ(PortErrorOf(code).code, code);
    }
    EXPECT_EQ(PortClaimedElsewhere().kind, InUse);
}

// The tty's exclusive flag (TIOCEXCL) outlives the descriptor that set it.
static int ExclusiveFlag(int fd)
{
    int exclusive = -1;
    EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
    return exclusive;
}

TEST_F(SerialDeviceOnPty, IsExclusiveEvenForRootUntilClosed)
{
    EXPECT_EQ(ExclusiveFlag(pty.Slave()), 1);
    {
        SerialDevice second;
        EXPECT_FALSE(second.Open(pty.SlavePath()));
        EXPECT_EQ(second.LastError(), EBUSY);
    }
    EXPECT_EQ(ExclusiveFlag(pty.Slave()), 1) << "a refused opener leaves the owner's flag";
    device.Close();
    EXPECT_EQ(ExclusiveFlag(pty.Slave()), 0);
    {
        SerialDevice second;
        EXPECT_TRUE(second.Open(pty.SlavePath())) << "free again after the close";
        EXPECT_EQ(ExclusiveFlag(pty.Slave()), 1);
    }
    EXPECT_EQ(ExclusiveFlag(pty.Slave()), 0) << "given back when the device goes away";
}

TEST_F(SerialDeviceOnPty, WaitReportsReceivedDataThenReadTakesItAtOnce)
{
    char buffer[16];
    EXPECT_EQ(device.ReadNow(buffer, sizeof buffer), 0u) << "nothing queued: no wait";
    pty.Write("hello");
    std::string got;
    while (got.size() < 5) {
        const CommEvents events = device.WaitCommEvent();
        ASSERT_FALSE(events.error);
        ASSERT_TRUE(events.received);
        QueueCounts counts;
        ASSERT_TRUE(device.GetQueueCounts(counts));
        EXPECT_GT(counts.input, 0u);
        EXPECT_EQ(counts.output, 0u);
        got.append(buffer, device.ReadNow(buffer, counts.input));
    }
    EXPECT_EQ(got, "hello");
}

TEST_F(SerialDeviceOnPty, WriteSignalsTransmitDone)
{
    EXPECT_EQ(device.Write("\r", 1), 1u); // one byte, as the login's bare CR
    EXPECT_EQ(pty.Read(1), "\r");
    const CommEvents events = device.WaitCommEvent();
    EXPECT_TRUE(events.transmitDone);
    EXPECT_FALSE(events.received || events.cancelled || events.error);
}

TEST_F(SerialDeviceOnPty, CancelEndsAWaitAndAStuckWriteFromAnotherThread)
{
    CommEvents events;
    std::thread waiter([&] { events = device.WaitCommEvent(); });
    device.CancelWaits();
    waiter.join();
    EXPECT_TRUE(events.cancelled);
    EXPECT_FALSE(events.error);

    // Nobody reads the far end: a megabyte cannot go out, and its write
    // deadline is hours away. The cancel (already given) ends it.
    const std::string big(1 << 20, 'x');
    EXPECT_LT(device.Write(big.data(), big.size()), big.size());
    EXPECT_EQ(device.LastError(), ECANCELED);
}
