#pragma once
// What the command engine needs of the serial link. CSerialPort implements
// it; engine tests use a fake.

#include "platform/message_queue.h"
#include "platform/port_error.h"

#include <chrono>
#include <cstdint>

class ISerialLink
{
public:
    virtual ~ISerialLink() = default;

    // 1 on success (also when already open), 0 on failure.
    virtual int OpenPort() = 0;
    // Does nothing when the port is closed.
    virtual void ClosePort() = 0;
    virtual bool IsOpen() const = 0;
    // Why the last open failed; none when unknown.
    virtual platform::PortError LastError() const { return {}; }
    // Open, but the device has hung up (a pulled cable): nothing more goes
    // through until it is closed and opened again.
    virtual bool HungUp() const { return false; }
    // Queues the bytes for the line; they are copied, so the caller may
    // reuse its buffer at once.
    virtual void Send(const char *data, uint32_t length) = 0;
    // The window that receives the port's and the jobs' notifications.
    virtual platform::IMessageTarget *Owner() const = 0;
    // When the terminal's last final reply on this link came in, for the
    // device gap before the next command; the clock's epoch when none has.
    virtual std::chrono::steady_clock::time_point LastFinalReply() const { return {}; }
};
