#include "link/line_receiver.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "platform/messages.h"
#include "tests/common/pty_pair.h"

#include <gtest/gtest.h>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace platform;
using namespace std::chrono_literals;

namespace {

// The port with its writes counted.
class CountingPort : public CSerialPort
{
public:
    ~CountingPort() override { ClosePort(); }

    uint32_t WriteBlock(const char *data, uint32_t length) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_chunks.push_back(length);
        }
        return CSerialPort::WriteBlock(data, length);
    }
    std::vector<uint32_t> TakeChunks()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_chunks, {});
    }

private:
    std::mutex m_mutex;
    std::vector<uint32_t> m_chunks;
};

std::string Pattern(size_t length, char first = 'A')
{
    std::string bytes(length, 0);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(first + i % 26);
    return bytes;
}

constexpr auto kPatience = 10s; // a bound against hanging, never a measured time

} // namespace

class SerialPort : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_strPortName = m_pty.SlavePath();
        g_strBaudRate = "115200";
        m_port.SetOwner(&m_window);
        // The window reads what each notification announces, then lets the
        // next notification come.
        m_window.On(WM_COMMNOTIFY, [this](uintptr_t, intptr_t) {
            ++m_notifications;
            if (!m_autoRead)
                return;
            char buffer[kRxLineSize];
            m_received.append(buffer, m_port.ReadAvailable(buffer, sizeof buffer));
            m_port.SetPostMsgEvent();
        });
    }

    bool WaitForNotifications(int count)
    {
        return m_window.RunUntil([&] { return m_notifications >= count; }, kPatience);
    }
    bool WaitForReceived(size_t count)
    {
        return m_window.RunUntil([&] { return m_received.size() >= count; }, kPatience);
    }
    // Reads without the notification flow, as a window that has not yet
    // re-opened the gate would.
    std::string ReadDirect(size_t count)
    {
        std::string bytes;
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (bytes.size() < count && std::chrono::steady_clock::now() < until) {
            char buffer[kRxLineSize];
            const uint32_t n = m_port.ReadAvailable(buffer, sizeof buffer);
            if (n == 0)
                std::this_thread::yield(); // the kernel is still delivering
            bytes.append(buffer, n);
        }
        return bytes;
    }

    // Lines and errors through a line receiver, as a receiving window gets them.
    void AttachReceiver()
    {
        m_receiver = std::make_unique<LineReceiver>(
            m_port, [this](std::unique_ptr<std::string> line) { m_lines.push_back(*line); },
            [this](RxError error) { m_errors.push_back(error); });
        m_receiver->Attach(m_window);
    }
    bool WaitForLines(size_t count)
    {
        return m_window.RunUntil([&] { return m_lines.size() >= count; }, kPatience);
    }

    PtyPair m_pty;
    MessageQueue m_window;
    CountingPort m_port;
    bool m_autoRead = true;
    int m_notifications = 0;
    std::string m_received;
    std::unique_ptr<LineReceiver> m_receiver;
    std::vector<std::string> m_lines;
    std::vector<RxError> m_errors;
};

TEST_F(SerialPort, OpensClosesAndReopensWithAFreshCommEventThread)
{
    const int fds = OpenFdCount();
    ASSERT_EQ(m_port.OpenPort(), 1) << m_port.LastErrorText();
    EXPECT_TRUE(m_port.IsOpen());
    EXPECT_NE(m_port.CommWatchThreadId(), std::thread::id());
    m_pty.Write("OK\r");
    ASSERT_TRUE(WaitForReceived(3));
    EXPECT_EQ(m_received, "OK\r");

    m_port.ClosePort();
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(m_port.CommWatchThreadId(), std::thread::id());
    EXPECT_EQ(OpenFdCount(), fds);
    m_port.ClosePort();       // closed: nothing happens
    m_port.Send("LOST\r", 5); // goes nowhere, and does not hang the next
    m_port.Send("LOST\r", 5);

    ASSERT_EQ(m_port.OpenPort(), 1);
    m_pty.Write("AT\r");
    ASSERT_TRUE(WaitForReceived(6));
    EXPECT_EQ(m_received, "OK\rAT\r");
    m_port.Send("ATE0\r", 5);
    EXPECT_EQ(m_pty.Read(5), "ATE0\r");
    EXPECT_EQ(m_port.TakeChunks(), std::vector<uint32_t>{5});

    m_port.ResetHandles();
    EXPECT_FALSE(m_port.IsOpen());
    EXPECT_EQ(m_port.OpenPort(), 1) << "rearmed";
}

TEST_F(SerialPort, OpenOnAnOpenPortChangesNothing)
{
    m_autoRead = false;
    ASSERT_EQ(m_port.OpenPort(), 1);
    m_pty.Write("abc");
    ASSERT_TRUE(WaitForNotifications(1));
    const std::thread::id watcher = m_port.CommWatchThreadId();
    EXPECT_EQ(m_port.OpenPort(), 1);
    EXPECT_EQ(m_port.CommWatchThreadId(), watcher) << "no second thread";
    EXPECT_EQ(ReadDirect(3), "abc") << "no purge";
}

// kestrel-cli's claim for its run: kept across the close between its login
// and its job, and honoured by every other open, the program's too.
TEST_F(SerialPort, ARunsClaimOutlivesTheClosesAndTurnsOthersAway)
{
    PtyPair elsewhere;
    CSerialPort run; // gone before the ptys, so no claim outlives its device
    ASSERT_TRUE(run.ClaimPort(m_pty.SlavePath()));
    ASSERT_EQ(run.OpenPort(), 1);
    run.ClosePort();
    EXPECT_FALSE(m_port.ClaimPort(m_pty.SlavePath()));
    EXPECT_EQ(m_port.OpenPort(), 0);
    EXPECT_EQ(m_port.LastError().code, EBUSY);
    EXPECT_EQ(run.OpenPort(), 1) << "the holder's own opens go on";
    run.ClosePort();
    ASSERT_TRUE(run.ClaimPort(elsewhere.SlavePath()));
    EXPECT_EQ(m_port.OpenPort(), 1) << "given up for the claim of another port";
}

TEST_F(SerialPort, FailedOpensLeaveNoTrace)
{
    const int fds = OpenFdCount();
    const char *badNames[] = {"", "kestrel-no-such-port", "/dev/kestrel-no-such-port", "/dev/null"};
    for (const char *name : badNames) {
        g_strPortName = name;
        EXPECT_EQ(m_port.OpenPort(), 0) << name;
        EXPECT_FALSE(m_port.IsOpen());
        EXPECT_EQ(m_port.CommWatchThreadId(), std::thread::id());
    }
    g_strPortName = m_pty.SlavePath();
    for (const char *baud : {"abc", "0", "12345"}) {
        g_strBaudRate = baud;
        EXPECT_EQ(m_port.OpenPort(), 0) << baud;
        EXPECT_FALSE(m_port.IsOpen());
    }
    EXPECT_EQ(OpenFdCount(), fds);
    EXPECT_EQ(m_window.PumpPending(), 0);

    g_strBaudRate = "115200abc";
    EXPECT_EQ(m_port.OpenPort(), 1) << "the device was let go by the failed opens";
}

TEST_F(SerialPort, SendsGoOutInChunksOfAtMost512)
{
    ASSERT_EQ(m_port.OpenPort(), 1);
    const std::pair<uint32_t, std::vector<uint32_t>> cases[] = {
        {0, {}}, {1, {1}}, {512, {512}}, {513, {512, 1}}, {1100, {512, 512, 76}},
    };
    for (const auto &[length, chunks] : cases) {
        const std::string bytes = Pattern(length);
        m_port.Send(bytes.data(), length);
        m_port.Send("Z", 1); // waits for the send before, then ends the check
        EXPECT_EQ(m_pty.Read(length + 1), bytes + "Z");
        std::vector<uint32_t> expected = chunks;
        expected.push_back(1);
        EXPECT_EQ(m_port.TakeChunks(), expected) << length << " bytes";
    }
}

TEST_F(SerialPort, NoSecondNotificationWhileTheWindowHasNotRead)
{
    m_autoRead = false;
    ASSERT_EQ(m_port.OpenPort(), 1);
    m_pty.Write("first\r");
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_FALSE(m_port.PostMsgEventSet()) << "the gate is shut until the window has read";
    m_pty.Write("second\r");
    EXPECT_EQ(ReadDirect(13), "first\rsecond\r");
    EXPECT_EQ(m_window.PumpPending(), 0) << "bytes came, no notification did";
    EXPECT_EQ(m_notifications, 1);

    m_port.SetPostMsgEvent();
    m_pty.Write("third\r");
    ASSERT_TRUE(WaitForNotifications(2)) << "the reopened gate lets the next one through";
}

TEST_F(SerialPort, SendsPendingAtACloseAreReleasedAndNeverGoOutLater)
{
    // The window does not read, so the comm-event thread waits for it and
    // releases no transmit unit: the send stalls after at most one chunk.
    m_autoRead = false;
    ASSERT_EQ(m_port.OpenPort(), 1);
    m_pty.Write("x");
    ASSERT_TRUE(WaitForNotifications(1));
    const std::string big = Pattern(1100);
    m_port.Send(big.data(), 1100);
    std::thread worker([&] { m_port.Send("AT\r", 3); }); // waits for the gate
    m_port.ClosePort();
    worker.join();

    ASSERT_EQ(m_port.OpenPort(), 1);
    m_port.Send("MARK\r", 5);
    const std::string got = m_pty.ReadUntilEnd("MARK\r");
    const std::string before = got.substr(0, got.size() - 5);
    EXPECT_TRUE(before.empty() || before == big.substr(0, 512)) << before.size() << " bytes";
    const auto chunks = m_port.TakeChunks();
    EXPECT_EQ(chunks.back(), 5u);
    EXPECT_LE(chunks.size(), 2u);
}

TEST_F(SerialPort, TheFarEndGoingAwayEndsTheCommThreadAndAllowsAReopen)
{
    const int fds = OpenFdCount();
    ASSERT_EQ(m_port.OpenPort(), 1);
    m_pty.CloseMaster();
    bool told = false;
    m_window.On(WM_PORT_HANGUP, [&](uintptr_t, intptr_t) { told = true; });
    ASSERT_TRUE(m_window.RunUntil([&] { return told && m_port.HungUp(); }, kPatience));
    EXPECT_TRUE(m_port.IsOpen()) << "flagged open until closed";
    m_port.Send("AT\r", 3);
    m_port.Send("AT\r", 3); // would wait for ever for a write thread that hangs
    char buffer[16];
    EXPECT_EQ(m_port.ReadAvailable(buffer, sizeof buffer), 0u);
    m_port.ClosePort();
    EXPECT_FALSE(m_port.IsOpen() || m_port.HungUp());
    EXPECT_EQ(OpenFdCount(), fds - 1) << "only the closed master is missing";

    PtyPair terminal;
    g_strPortName = terminal.SlavePath();
    ASSERT_EQ(m_port.OpenPort(), 1);
    EXPECT_FALSE(m_port.HungUp());
    m_port.Send("AT\r", 3);
    EXPECT_EQ(terminal.Read(3), "AT\r");
}

TEST_F(SerialPort, LinesComeThroughTheReceiverWhateverTheBatches)
{
    AttachReceiver();
    ASSERT_EQ(m_port.OpenPort(), 1);
    const std::string stream = "\r\nAT+RPAR=20\r\r\n+RPAR: 20,\"1\"\r\n\r\nOK\r\n> " +
                               std::string(1024, 'L') + "\rAB\nCD\r";
    std::mt19937 random(7);
    for (size_t at = 0; at < stream.size();) {
        const size_t length = std::uniform_int_distribution<size_t>(1, 300)(random);
        m_pty.Write(stream.substr(at, length));
        at += length;
    }
    ASSERT_TRUE(WaitForLines(6));
    EXPECT_EQ(m_lines, (std::vector<std::string>{"AT+RPAR=20", "+RPAR: 20,\"1\"", "OK", "> ",
                                                 std::string(1024, 'L'), "AB\nCD"}));
    EXPECT_TRUE(m_errors.empty());

    // A line cut short by a close goes on after the reopen.
    m_pty.Write("+CME ");
    ASSERT_TRUE(m_window.RunUntil([&] { return m_receiver->Builder().InLine(); }, kPatience));
    m_port.ClosePort();
    ASSERT_EQ(m_port.OpenPort(), 1);
    m_pty.Write("ERROR: 16\r");
    ASSERT_TRUE(WaitForLines(7));
    EXPECT_EQ(m_lines.back(), "+CME ERROR: 16");
}
