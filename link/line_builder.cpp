#include "link/line_builder.h"

#include "link/reply.h"
#include "link/serial_port.h"

#include <algorithm>
#include <array>

const char *MainWindowRxErrorText(RxError error)
{
    switch (error) {
    case RxError::Overflow:
        return kRxOverflowText;
    case RxError::SwapFailed:
        return kRxSwapFailedText;
    case RxError::NoData:
        return kRxNoDataText;
    }
    return kRxNoDataText;
}

RxLineBuilder::RxLineBuilder(CSerialPort &port, IRxLineOwner &owner) : m_port(port), m_owner(owner)
{}

void RxLineBuilder::OnCommNotify(uintptr_t wParam)
{
    if (!m_port.IsOpen() || (wParam & 1) == 0) {
        m_port.SetPostMsgEvent();
        return;
    }
    std::array<char, kRxLineSize> batch{};
    const uint32_t count = m_port.ReadAvailable(batch.data(), kRxLineSize);
    if (count == 0) {
        m_port.SetPostMsgEvent();
        return;
    }
    const bool fed = feedBytes(batch.data(), count);
    if (fed)
        m_port.SetPostMsgEvent();
    reportDroppedLine();
}

bool RxLineBuilder::Feed(const char *bytes, size_t count)
{
    const bool fed = feedBytes(bytes, count);
    reportDroppedLine();
    return fed;
}

bool RxLineBuilder::feedBytes(const char *bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (!feedByte(bytes[i]))
            return false;
    }
    return true;
}

// After all state is updated: the owner's message box may run a nested loop
// that brings the next notification in.
void RxLineBuilder::reportDroppedLine()
{
    if (!m_bDropPending)
        return;
    m_bDropPending = false;
    m_owner.OnRxError(RxError::Overflow);
}

bool RxLineBuilder::feedByte(char byte)
{
    RxLineBuffer &fill = m_port.FillBuffer();
    if (m_bDropping) {
        m_bDropping = byte != '\r';
        return true;
    }
    if (!m_bInLine) {
        if (byte == '\r' || byte == '\n')
            return true;
        m_bInLine = true;
        m_bPrompt = byte == '>';
        fill.data[0] = byte;
        fill.count = 1;
        return true;
    }
    // A line whose end arrived is over even when it cannot be handed on
    // (a swap error): the bytes after it start a new line, not its tail.
    if (byte == '\r') {
        m_bPrompt = false;
        m_bInLine = false;
        return completeLine();
    }
    // The unsigned view also refuses a count that is not a valid position.
    const auto position = static_cast<uint32_t>(fill.count);
    if (position >= kRxLineSize) {
        // The line is dropped up to its CR; the lines after it still count.
        m_bInLine = false;
        m_bPrompt = false;
        m_bDropping = true;
        m_bDropPending = true;
        m_owner.OnRxLineDropped();
        return true;
    }
    fill.data[position] = byte;
    fill.count = static_cast<int32_t>(position + 1);
    if (m_bPrompt) {
        m_bPrompt = false;
        if (byte == ' ') {
            m_bInLine = false;
            return completeLine();
        }
    }
    return true;
}

bool RxLineBuilder::completeLine()
{
    if (!m_port.LineBufferFree()) {
        m_owner.OnRxError(RxError::SwapFailed);
        return false;
    }
    const RxLineBuffer &fill = m_port.FillBuffer();
    const auto count = std::min(static_cast<uint32_t>(fill.count), kRxLineSize);
    if (IsFinalReply(std::string_view(fill.data.data(), count)))
        m_port.NoteFinalReply();
    m_port.SetLineBufferFree(false);
    m_port.SwapLineBuffers();
    m_owner.OnRxLineReady();
    return true;
}

std::unique_ptr<std::string> RxLineBuilder::TakeLine()
{
    const RxLineBuffer &ready = m_port.ReadyBuffer();
    if (m_port.LineBufferFree() || ready.count <= 0) {
        m_owner.OnRxError(RxError::NoData);
        return nullptr;
    }
    const auto count = std::min(static_cast<uint32_t>(ready.count), kRxLineSize);
    auto line = std::make_unique<std::string>(ready.data.data(), count);
    m_port.SetLineBufferFree(true);
    return line;
}
