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

// The port posts no notice but its receive notice (1).
void RxLineBuilder::OnCommNotify(uintptr_t /*events*/)
{
    if (!m_port.IsOpen()) {
        m_port.SetPostMsgEvent();
        return;
    }
    std::array<char, kRxLineSize> batch{};
    const uint32_t count = m_port.ReadAvailable(batch.data(), kRxLineSize);
    if (count == 0) {
        m_port.SetPostMsgEvent();
        return;
    }
    const bool fed = FeedBytes(batch.data(), count);
    if (fed)
        m_port.SetPostMsgEvent();
    ReportDroppedLine();
}

bool RxLineBuilder::Feed(const char *bytes, size_t count)
{
    const bool fed = FeedBytes(bytes, count);
    ReportDroppedLine();
    return fed;
}

bool RxLineBuilder::FeedBytes(const char *bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (!FeedByte(bytes[i]))
            return false;
    }
    return true;
}

// After all state is updated: the owner's message box may run a nested loop
// that brings the next notification in.
void RxLineBuilder::ReportDroppedLine()
{
    if (!m_dropPending)
        return;
    m_dropPending = false;
    m_owner.OnRxError(RxError::Overflow);
}

bool RxLineBuilder::FeedByte(char byte)
{
    RxLineBuffer &fill = m_port.FillBuffer();
    if (m_dropping) {
        m_dropping = byte != '\r';
        return true;
    }
    if (!m_inLine) {
        if (byte == '\r' || byte == '\n')
            return true;
        m_inLine = true;
        m_prompt = byte == '>';
        fill.data[0] = byte;
        fill.count = 1;
        return true;
    }
    // A line whose end arrived is over even when it cannot be handed on
    // (a swap error): the bytes after it start a new line, not its tail.
    if (byte == '\r') {
        m_prompt = false;
        m_inLine = false;
        return CompleteLine();
    }
    // The unsigned view also refuses a count that is not a valid position.
    const auto position = static_cast<uint32_t>(fill.count);
    if (position >= kRxLineSize) {
        // The line is dropped up to its CR; the lines after it still count.
        m_inLine = false;
        m_prompt = false;
        m_dropping = true;
        m_dropPending = true;
        m_owner.OnRxLineDropped();
        return true;
    }
    fill.data[position] = byte;
    fill.count = static_cast<int32_t>(position + 1);
    if (m_prompt) {
        m_prompt = false;
        if (byte == ' ') {
            m_inLine = false;
            return CompleteLine();
        }
    }
    return true;
}

bool RxLineBuilder::CompleteLine()
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
