#pragma once
// A serial device (a tty: /dev/ttyUSB*, /dev/ttyS*, /dev/ttyACM* or a pty
// slave) with the operations the serial port driver needs: exclusive open,
// purge, line settings, DTR/RTS, queue counts, a cancellable wait for
// "received data" / "transmit done", immediate reads and writes bounded by the
// driver's write time-outs.
//
// Open and Close must not run while another thread is inside a call on the
// same device. Every other call may come from several threads at once;
// CancelWaits may come from any thread at any time while the device is open.

#include "platform/unique_fd.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct QueueCounts
{
    uint32_t input = 0;  // bytes received and not yet read
    uint32_t output = 0; // bytes written and not yet sent (always 0 on a pty)
};

// What ended a wait for comm events. Several can hold at once.
struct CommEvents
{
    bool received = false;     // input is waiting
    bool transmitDone = false; // a write has drained
    bool cancelled = false;    // CancelWaits was called
    bool error = false;        // hang-up or device error; LastError() tells which
};

enum class ModemLineResult { Raised, NotSupported, Failed };

class SerialDevice
{
public:
    // The driver's write time-outs: per byte plus a constant, for one write.
    static constexpr std::chrono::milliseconds kWritePerByte{50};
    static constexpr std::chrono::milliseconds kWriteConstant{2000};

    SerialDevice() = default;
    ~SerialDevice() { Close(); }
    SerialDevice(const SerialDevice &) = delete;
    SerialDevice &operator=(const SerialDevice &) = delete;

    // Opens the tty for reading and writing, non-blocking, and takes it for
    // this process alone (TIOCEXCL, and an flock that also holds against root).
    bool Open(const std::string &path);
    void Close();
    bool IsOpen() const { return m_fd.Valid(); }

    // Discards both queues. Nothing depends on it succeeding: a failure is
    // only kept as the last error.
    void Purge();
    // 8N1, raw, receiver on, modem lines ignored, no flow control, at the
    // rate of the baud text's leading decimal digits (none: 0). A rate the
    // system does not offer (0 included) fails.
    bool Configure(std::string_view baudText);
    ModemLineResult RaiseDtr();
    ModemLineResult RaiseRts();

    bool GetQueueCounts(QueueCounts &counts);
    // Sleeps until input is waiting, a write has drained, CancelWaits was
    // called, or the device fails. Consumes the "transmit done" signal.
    CommEvents WaitCommEvent();
    // The same, but gives up after `timeout`: nothing in the result is set then.
    CommEvents WaitCommEvent(std::chrono::milliseconds timeout);
    // Reads what is queued now, up to `maximum` bytes; 0 when nothing is.
    size_t ReadNow(char *buffer, size_t maximum);
    // Writes within the driver's write time-outs, then waits for the bytes
    // to drain and signals "transmit done". Returns the count written; less
    // than asked on time-out, cancel or error.
    size_t Write(const char *data, size_t length);
    // Ends current and future waits and writes until the device is closed.
    void CancelWaits();

    // The system error code of the last failure, and its text.
    int LastError() const { return m_lastError; }
    std::string LastErrorText() const;

private:
    bool fail(int error);
    CommEvents WaitCommEvent(int pollTimeout);
    bool cancelled() const;
    ModemLineResult RaiseModemLine(int line);
    void SignalTransmitDone();

    UniqueFd m_fd;
    UniqueFd m_cancelFd;       // eventfd: set by CancelWaits, never consumed
    UniqueFd m_transmitDoneFd; // eventfd: set by Write, consumed by WaitCommEvent
    std::atomic<int> m_lastError{0};
};

} // namespace platform
