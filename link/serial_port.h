#pragma once
// The one serial link between the program and the terminal. It opens the
// port named in the shared settings with fixed line settings, runs a
// comm-event thread that tells the owner window when received bytes are
// waiting (WM_COMMNOTIFY, one at a time), reads those bytes on request, and
// sends through short-lived write threads that feed the line in chunks of at
// most 512 bytes, each on an empty output queue.
//
// When the device hangs up under an open port (a pulled cable), the owner
// is told with WM_PORT_HANGUP.
//
// Threads: the owner window's thread opens, closes, reads and assembles lines
// (and sends while the login dialog owns the port); the comm worker sends and
// closes; the comm-event thread and the write threads are the port's own.

#include "link/serial_link.h"
#include "platform/port_lock.h"
#include "platform/serial_device.h"
#include "platform/sync.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

inline constexpr uint32_t kRxLineSize = 1024; // one reply line, and one read
inline constexpr uint32_t kTxChunkSize = 512; // one write, the output queue's size

// One record of the double line buffer: the bytes of a line, no terminator.
struct RxLineBuffer
{
    int32_t count = 0;
    std::array<char, kRxLineSize> data{};
};

class CSerialPort : public ISerialLink
{
public:
    CSerialPort();
    ~CSerialPort() override;
    CSerialPort(const CSerialPort &) = delete;
    CSerialPort &operator=(const CSerialPort &) = delete;

    // Re-arms the port after the login: closed, fresh synchronisation
    // objects, line buffers emptied. Runs on the owner window's thread.
    void ResetHandles();
    void SetOwner(platform::IMessageTarget *owner) { m_pOwner = owner; }
    platform::IMessageTarget *Owner() const override { return m_pOwner; }

    // Claims the port for this run, as kestrel-cli does before its login:
    // from now until this object ends or claims another port, a second
    // program asking for it is turned away at once, while this one opens
    // and closes it as often as it likes. False when another holds it. A
    // claim that cannot be made at all (no lock folder) is no refusal: the
    // open proper still keeps the port for one program at a time.
    bool ClaimPort(const std::string &portName);
    // Opens g_strPortName at g_strBaudRate. Without a claim for the run, the
    // port is claimed from the open to the close, so that another run's
    // claim is honoured. 1 on success or when already open; 0 on failure,
    // with the port left closed (LastError and LastErrorText say why:
    // EBUSY when another run holds it).
    int OpenPort() override;
    void ClosePort() override;
    bool IsOpen() const override { return m_bOpen != 0; }
    bool HungUp() const override;
    // Queues a copy of the bytes for a write thread; waits while the
    // previous send is still going out. Nothing is written when the port is closed, or when
    // it closes before the bytes went out.
    void Send(const char *data, uint32_t length) override;
    // One write of a chunk; returns the count written. Called by the write thread.
    virtual uint32_t WriteBlock(const char *data, uint32_t length);
    // Reads up to `maximum` of the waiting bytes at once; 0 when none are.
    uint32_t ReadAvailable(char *buffer, uint32_t maximum);

    // The double line buffer, for the line builder on the owner's thread.
    RxLineBuffer &FillBuffer() { return *m_pFillBuffer; }
    const RxLineBuffer &ReadyBuffer() const { return *m_pReadyBuffer; }
    void SwapLineBuffers();
    bool LineBufferFree() const { return m_bLineBufferFree != 0; }
    void SetLineBufferFree(bool isFree) { m_bLineBufferFree = isFree ? 1 : 0; }

    // The receiving window re-opens the notification gate after reading.
    void SetPostMsgEvent() { m_hPostMsgEvent->Set(); }
    bool PostMsgEventSet() const { return m_hPostMsgEvent->IsSet(); }

    // The line builder notes each final reply as it completes it. Kept
    // across closes and ResetHandles: the login's "OK" counts for the gap
    // before the first command of the job that follows.
    void NoteFinalReply() { m_lastFinalReply = std::chrono::steady_clock::now(); }
    std::chrono::steady_clock::time_point LastFinalReply() const override
    {
        return m_lastFinalReply;
    }

    // Why the last open (or other device call) failed.
    std::string LastErrorText() const;
    platform::PortError LastError() const override
    {
        return m_claimRefused ? platform::PortClaimedElsewhere()
                              : platform::PortErrorOf(m_hComm.LastError());
    }
    // The comm-event thread of the open port (a default id when none runs).
    std::thread::id CommWatchThreadId() const;

private:
    struct WriteRequest
    {
        uint32_t length = 0;
        const char *data = nullptr;
        // Whether the port was open when the send was made, and the
        // semaphore epoch then: a close cancels the epoch, so a send never
        // goes out after a close, not even into a later reopen.
        bool live = false;
        uint64_t epoch = 0;
    };

    int ConfigurePort();
    int CommWatchProc();
    int WriteThreadProc();
    void JoinWriteThread();

    bool ClaimDevice(const std::string &devicePath);
    int OpenDevice(const std::string &devicePath);

    platform::SerialDevice m_hComm;
    // Guarded by m_portMutex: the claim, whether it is the run's (kept
    // across closes) or the open's, and whether the last claim was refused.
    platform::PortLock m_claim;
    bool m_runClaim = false;
    std::atomic<bool> m_claimRefused{false};
    std::atomic<int32_t> m_bOpen{0};
    std::thread m_pWatchThread;
    std::unique_ptr<platform::Event> m_hPostMsgEvent;
    std::unique_ptr<platform::Semaphore> m_hTxSemaphore;
    std::atomic<platform::IMessageTarget *> m_pOwner{nullptr};
    std::atomic<int32_t> m_bLineBufferFree{1};
    std::atomic<std::chrono::steady_clock::time_point> m_lastFinalReply{};
    WriteRequest m_writeRequest;
    std::vector<char> m_writeBuffer; // what the running write thread sends
    std::unique_ptr<platform::Gate> m_hSendGate;
    std::array<RxLineBuffer, 2> m_rxLineBuffers{};
    RxLineBuffer *m_pFillBuffer = &m_rxLineBuffers[0];
    RxLineBuffer *m_pReadyBuffer = &m_rxLineBuffers[1];

    // Open, close and reads exclude each other, so the device is never
    // closed under a read; the port's own threads never take this lock.
    mutable std::mutex m_portMutex;
    // The running (or finished, not yet joined) write thread.
    std::mutex m_writeThreadMutex;
    std::thread m_writeThread;
    // Set when the comm-event thread has ended, with its result: 0, or -1
    // when the device was lost.
    platform::Event m_watchEnded{platform::ResetMode::Manual, false};
    std::atomic<int> m_watchResult{0};
};
