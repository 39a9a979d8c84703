#include "platform/serial_device.h"

#include "platform/retry_interrupted.h"
#include "platform/text_util.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

struct BaudEntry
{
    uint32_t rate;
    speed_t speed;
};

// The rates the system offers; anything else is refused rather than rounded.
constexpr std::array kBaudRates{
    BaudEntry{50, B50},           BaudEntry{75, B75},           BaudEntry{110, B110},
    BaudEntry{134, B134},         BaudEntry{150, B150},         BaudEntry{200, B200},
    BaudEntry{300, B300},         BaudEntry{600, B600},         BaudEntry{1200, B1200},
    BaudEntry{1800, B1800},       BaudEntry{2400, B2400},       BaudEntry{4800, B4800},
    BaudEntry{9600, B9600},       BaudEntry{19200, B19200},     BaudEntry{38400, B38400},
    BaudEntry{57600, B57600},     BaudEntry{115200, B115200},   BaudEntry{230400, B230400},
    BaudEntry{460800, B460800},   BaudEntry{500000, B500000},   BaudEntry{576000, B576000},
    BaudEntry{921600, B921600},   BaudEntry{1000000, B1000000}, BaudEntry{1152000, B1152000},
    BaudEntry{1500000, B1500000}, BaudEntry{2000000, B2000000}, BaudEntry{2500000, B2500000},
    BaudEntry{3000000, B3000000}, BaudEntry{3500000, B3500000}, BaudEntry{4000000, B4000000},
};

bool SpeedForRate(uint32_t rate, speed_t &speed)
{
    const auto it = std::find_if(kBaudRates.begin(), kBaudRates.end(),
                                 [rate](const BaudEntry &entry) { return entry.rate == rate; });
    if (it == kBaudRates.end())
        return false;
    speed = it->speed;
    return true;
}

constexpr short kHangUp = POLLHUP | POLLERR | POLLNVAL;

int PollTimeout(std::chrono::steady_clock::duration left)
{
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::clamp<decltype(ms)>(ms, 0, INT_MAX));
}

} // namespace

bool SerialDevice::fail(int error)
{
    m_lastError = error;
    return false;
}

std::string SerialDevice::LastErrorText() const
{
    return std::strerror(m_lastError);
}

bool SerialDevice::Open(const std::string &path)
{
    Close();
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid())
        return fail(errno);
    // The lock turns away every other opener that plays by the same rule,
    // root included; TIOCEXCL then turns away later opens by other users.
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
        return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    UniqueFd cancel(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    UniqueFd transmitDone(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!cancel.Valid() || !transmitDone.Valid())
        return fail(errno);
    ::ioctl(fd.Get(), TIOCEXCL);
    m_fd = std::move(fd);
    m_cancelFd = std::move(cancel);
    m_transmitDoneFd = std::move(transmitDone);
    return true;
}

void SerialDevice::Close()
{
    // Exclusive mode is a property of the tty, not of this descriptor: give
    // it back so the next user (or our own reopen) is not refused.
    if (m_fd.Valid())
        ::ioctl(m_fd.Get(), TIOCNXCL);
    m_fd.Reset();
    m_cancelFd.Reset();
    m_transmitDoneFd.Reset();
}

void SerialDevice::Purge()
{
    if (::tcflush(m_fd.Get(), TCIOFLUSH) != 0)
        fail(errno);
}

bool SerialDevice::Configure(std::string_view baudText)
{
    speed_t speed = B0;
    if (!SpeedForRate(text::LeadingNumber(baudText), speed))
        return fail(EINVAL);
    termios settings{};
    if (::tcgetattr(m_fd.Get(), &settings) != 0)
        return fail(errno);
    ::cfmakeraw(&settings);
    // No parity kind (odd, mark or space) is left behind either.
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0)
        return fail(EINVAL);
    if (::tcsetattr(m_fd.Get(), TCSANOW, &settings) != 0)
        return fail(errno);
    // tcsetattr succeeds when any of the changes took; check the rate did.
    termios actual{};
    if (::tcgetattr(m_fd.Get(), &actual) != 0)
        return fail(errno);
    if (::cfgetospeed(&actual) != speed)
        return fail(EINVAL);
    return true;
}

ModemLineResult SerialDevice::RaiseModemLine(int line)
{
    if (::ioctl(m_fd.Get(), TIOCMBIS, &line) == 0)
        return ModemLineResult::Raised;
    // A pty has no modem lines.
    if (errno == ENOTTY || errno == EINVAL)
        return ModemLineResult::NotSupported;
    fail(errno);
    return ModemLineResult::Failed;
}

ModemLineResult SerialDevice::RaiseDtr()
{
    return RaiseModemLine(TIOCM_DTR);
}

ModemLineResult SerialDevice::RaiseRts()
{
    return RaiseModemLine(TIOCM_RTS);
}

bool SerialDevice::GetQueueCounts(QueueCounts &counts)
{
    int input = 0, output = 0;
    if (::ioctl(m_fd.Get(), FIONREAD, &input) != 0 || ::ioctl(m_fd.Get(), TIOCOUTQ, &output) != 0)
        return fail(errno);
    counts.input = static_cast<uint32_t>(std::max(input, 0));
    counts.output = static_cast<uint32_t>(std::max(output, 0));
    return true;
}

CommEvents SerialDevice::WaitCommEvent()
{
    return WaitCommEvent(-1);
}

CommEvents SerialDevice::WaitCommEvent(std::chrono::milliseconds timeout)
{
    return WaitCommEvent(PollTimeout(timeout));
}

CommEvents SerialDevice::WaitCommEvent(int pollTimeout)
{
    CommEvents events;
    std::array<pollfd, 3> fds{pollfd{m_fd.Get(), POLLIN, 0},
                              pollfd{m_transmitDoneFd.Get(), POLLIN, 0},
                              pollfd{m_cancelFd.Get(), POLLIN, 0}};
    const int ready = RetryInterrupted([&] { return ::poll(fds.data(), fds.size(), pollTimeout); });
    if (ready < 0) {
        fail(errno);
        events.error = true;
        return events;
    }
    if (fds[0].revents & kHangUp) {
        // The other end is gone (a pty's master closed, a USB adapter pulled).
        fail(fds[0].revents & POLLNVAL ? EBADF : EIO);
        events.error = true;
    }
    events.received = (fds[0].revents & POLLIN) != 0;
    if (fds[1].revents & POLLIN) {
        uint64_t count = 0;
        if (::read(m_transmitDoneFd.Get(), &count, sizeof count) == sizeof count)
            events.transmitDone = true;
    }
    events.cancelled = (fds[2].revents & POLLIN) != 0;
    return events;
}

size_t SerialDevice::ReadNow(char *buffer, size_t maximum)
{
    if (maximum == 0)
        return 0;
    const ssize_t n = RetryInterrupted([&] { return ::read(m_fd.Get(), buffer, maximum); });
    if (n < 0) {
        if (errno != EAGAIN)
            fail(errno);
        return 0;
    }
    return static_cast<size_t>(n); // 0: the other end is gone
}

bool SerialDevice::cancelled() const
{
    pollfd fd{m_cancelFd.Get(), POLLIN, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);
}

void SerialDevice::SignalTransmitDone()
{
    const uint64_t one = 1;
    if (::write(m_transmitDoneFd.Get(), &one, sizeof one) != sizeof one)
        fail(errno);
}

size_t SerialDevice::Write(const char *data, size_t length)
{
    using Clock = std::chrono::steady_clock;
    // Lengths beyond a billion bytes get the same (years long) allowance.
    const auto counted = static_cast<int64_t>(std::min<size_t>(length, 1'000'000'000));
    const auto deadline = Clock::now() + kWritePerByte * counted + kWriteConstant;
    size_t written = 0;
    while (written < length) {
        const ssize_t n =
            RetryInterrupted([&] { return ::write(m_fd.Get(), data + written, length - written); });
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n == 0 || errno != EAGAIN) {
            fail(n == 0 ? EIO : errno);
            break;
        }
        // The output queue is full: wait for room until the deadline.
        std::array<pollfd, 2> fds{pollfd{m_fd.Get(), POLLOUT, 0},
                                  pollfd{m_cancelFd.Get(), POLLIN, 0}};
        // Past the deadline the poll only looks.
        const int ready = RetryInterrupted(
            [&] { return ::poll(fds.data(), fds.size(), PollTimeout(deadline - Clock::now())); });
        const int error = ready == 0                   ? ETIMEDOUT
                          : ready < 0                  ? errno
                          : (fds[1].revents & POLLIN)  ? ECANCELED
                          : (fds[0].revents & kHangUp) ? EIO
                                                       : 0;
        if (error != 0) {
            fail(error);
            break;
        }
    }
    // A purge by the closing thread wakes a drain under way; a drain that
    // would start after the cancel is skipped.
    if (written > 0 && !cancelled()) {
        RetryInterrupted([&] { return ::tcdrain(m_fd.Get()); });
    }
    SignalTransmitDone();
    return written;
}

void SerialDevice::CancelWaits()
{
    if (!m_cancelFd.Valid())
        return;
    const uint64_t one = 1;
    if (::write(m_cancelFd.Get(), &one, sizeof one) != sizeof one)
        fail(errno);
}

} // namespace platform
