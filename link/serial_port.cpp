#include "link/serial_port.h"

#include "link/shared_settings.h"
#include "platform/messages.h"
#include "platform/port_names.h"

#include <algorithm>
#include <system_error>

using namespace platform;

namespace {

// Lets the device settle between a close and the next open.
constexpr Millis kCloseSettleTime{50};

} // namespace

CSerialPort::CSerialPort()
    : m_hPostMsgEvent(std::make_unique<Event>(ResetMode::Manual, true)),
      m_hTxSemaphore(std::make_unique<Semaphore>(0, 1)), m_hSendGate(std::make_unique<Gate>())
{}

CSerialPort::~CSerialPort()
{
    ClosePort();
    JoinWriteThread();
}

void CSerialPort::ResetHandles()
{
    // Called with the port closed; close it anyway so that no thread of the
    // port still holds the objects being replaced.
    ClosePort();
    JoinWriteThread();
    std::lock_guard lock(m_portMutex);
    m_bLineBufferFree = 1;
    m_rxLineBuffers = {};
    m_pFillBuffer = &m_rxLineBuffers[0];
    m_pReadyBuffer = &m_rxLineBuffers[1];
    m_writeRequest = {};
    m_hTxSemaphore = std::make_unique<Semaphore>(0, 1);
    m_hSendGate = std::make_unique<Gate>();
    m_hPostMsgEvent = std::make_unique<Event>(ResetMode::Manual, true);
}

bool CSerialPort::ClaimPort(const std::string &portName)
{
    std::lock_guard lock(m_portMutex);
    m_runClaim = ClaimDevice(DevicePathForPort(portName));
    return m_runClaim;
}

bool CSerialPort::ClaimDevice(const std::string &devicePath)
{
    m_claimRefused = m_claim.Acquire(devicePath) == PortLock::Result::InUse;
    return !m_claimRefused;
}

std::string CSerialPort::LastErrorText() const
{
    return m_claimRefused ? platform::PortErrorText(platform::PortClaimedElsewhere())
                          : m_hComm.LastErrorText();
}

int CSerialPort::OpenPort()
{
    std::lock_guard lock(m_portMutex);
    if (m_bOpen)
        return 1;
    if (g_strPortName.empty())
        return 0;
    const std::string devicePath = DevicePathForPort(g_strPortName);
    const bool claimedBefore = m_claim.HeldFor(devicePath);
    if (!ClaimDevice(devicePath))
        return 0;
    if (OpenDevice(devicePath))
        return 1;
    // A port that would not open is not kept from others.
    if (!claimedBefore)
        m_claim.Release();
    return 0;
}

int CSerialPort::OpenDevice(const std::string &devicePath)
{
    if (!m_hComm.Open(devicePath))
        return 0;
    m_hComm.Purge();
    if (!ConfigurePort()) {
        m_hComm.Close();
        return 0;
    }
    m_watchEnded.Reset();
    m_bOpen = 1;
    m_hComm.RaiseDtr();
    m_hComm.RaiseRts();
    try {
        m_pWatchThread = std::thread([this] { CommWatchProc(); });
    } catch (const std::system_error &) {
        m_bOpen = 0;
        m_hComm.Close();
        return 0;
    }
    return 1;
}

int CSerialPort::ConfigurePort()
{
    return m_hComm.Configure(g_strBaudRate) ? 1 : 0;
}

void CSerialPort::ClosePort()
{
    {
        std::lock_guard lock(m_portMutex);
        if (!m_bOpen)
            return;
        // Flag closed first: a comm-event thread released below then ends
        // without posting a notification for a port that is gone.
        m_bOpen = 0;
        m_hPostMsgEvent->Set();
        // A write thread waiting for its next chunk, or inside a write,
        // stops and opens the send gate; a send made before now never goes
        // out later.
        m_hTxSemaphore->Cancel();
        m_hComm.CancelWaits();
        m_hComm.Purge();
        if (m_pWatchThread.joinable())
            m_pWatchThread.join();
        JoinWriteThread();
        m_hComm.Close();
        if (!m_runClaim)
            m_claim.Release();
    }
    std::this_thread::sleep_for(kCloseSettleTime);
}

void CSerialPort::JoinWriteThread()
{
    std::lock_guard lock(m_writeThreadMutex);
    if (m_writeThread.joinable())
        m_writeThread.join();
}

void CSerialPort::Send(const char *data, uint32_t length)
{
    // Epoch before the open flag: a close that clears the flag after we read
    // it cancels after we read the epoch too.
    const uint64_t epoch = m_hTxSemaphore->Epoch();
    const bool live = m_bOpen && !m_watchEnded.IsSet();
    m_hSendGate->Close();
    // The write thread sends from a copy: the caller's buffer (the worker's
    // command buffer, rebuilt for the next command) may change meanwhile.
    m_writeBuffer.assign(data, data + length);
    m_writeRequest = {length, m_writeBuffer.data(), live, epoch};
    std::lock_guard lock(m_writeThreadMutex);
    // The previous write thread opened the gate as its last step.
    if (m_writeThread.joinable())
        m_writeThread.join();
    try {
        m_writeThread = std::thread([this] { WriteThreadProc(); });
    } catch (const std::system_error &) {
        m_hSendGate->Open();
    }
}

int CSerialPort::WriteThreadProc()
{
    Semaphore &semaphore = *m_hTxSemaphore;
    WriteRequest &request = m_writeRequest;
    if (request.live) {
        bool cancelled = false;
        while (request.length != 0) {
            if (!semaphore.Acquire(request.epoch)) {
                cancelled = true;
                break;
            }
            const uint32_t chunk = std::min(request.length, kTxChunkSize);
            WriteBlock(request.data, chunk);
            request.length -= chunk;
            request.data += chunk;
        }
        // Wait for the last chunk to drain, then leave the unit for the
        // next send's first chunk.
        if (!cancelled && semaphore.Acquire(request.epoch))
            semaphore.Release();
    }
    m_hSendGate->Open();
    return 0;
}

uint32_t CSerialPort::WriteBlock(const char *data, uint32_t length)
{
    return static_cast<uint32_t>(m_hComm.Write(data, length));
}

uint32_t CSerialPort::ReadAvailable(char *buffer, uint32_t maximum)
{
    std::lock_guard lock(m_portMutex);
    if (!m_hComm.IsOpen())
        return 0;
    QueueCounts counts;
    if (!m_hComm.GetQueueCounts(counts))
        return 0;
    return static_cast<uint32_t>(m_hComm.ReadNow(buffer, std::min(maximum, counts.input)));
}

void CSerialPort::SwapLineBuffers()
{
    std::swap(m_pFillBuffer, m_pReadyBuffer);
}

int CSerialPort::CommWatchProc()
{
    int result = 0;
    while (m_bOpen) {
        QueueCounts counts;
        if (!m_hComm.GetQueueCounts(counts)) {
            result = -1;
            break;
        }
        if (counts.input > 0) {
            // One notification at a time: the window sets the event again
            // once it has read.
            m_hPostMsgEvent->Wait();
            if (!m_bOpen)
                break; // closing: the event stays set for the next open
            m_hPostMsgEvent->Reset();
            if (IMessageTarget *owner = m_pOwner)
                owner->PostMessage(WM_COMMNOTIFY, 1, 0);
            continue; // the next pass sees the queue again
        }
        if (counts.output == 0)
            m_hTxSemaphore->Release(); // fails harmlessly at the maximum
        if (m_hComm.WaitCommEvent().error) {
            result = -1;
            break;
        }
    }
    m_watchResult = result;
    m_watchEnded.Set();
    if (result == -1 && m_bOpen) {
        if (IMessageTarget *owner = m_pOwner)
            owner->PostMessage(WM_PORT_HANGUP);
    }
    // The device is gone: no transmit-empty release will come any more, so
    // a write thread waiting for one stops now instead of at the close.
    // (Send reads the epoch before this flag, which is set before the cancel.)
    if (result == -1)
        m_hTxSemaphore->Cancel();
    return result;
}

bool CSerialPort::HungUp() const
{
    return m_bOpen && m_watchEnded.IsSet() && m_watchResult == -1;
}

std::thread::id CSerialPort::CommWatchThreadId() const
{
    std::lock_guard lock(m_portMutex);
    return m_pWatchThread.get_id();
}
