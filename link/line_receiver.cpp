#include "link/line_receiver.h"

#include "platform/messages.h"

LineReceiver::LineReceiver(CSerialPort &port, LineHandler onLine, ErrorHandler onError)
    : m_onLine(std::move(onLine)), m_onError(std::move(onError)), m_builder(port, *this)
{}

void LineReceiver::Attach(platform::MessageQueue &queue)
{
    queue.On(platform::WM_COMMNOTIFY, [this](uintptr_t wParam, intptr_t) { OnCommNotify(wParam); });
}

void LineReceiver::OnRxLineReady()
{
    if (auto line = m_builder.TakeLine(); line && m_onLine)
        m_onLine(std::move(line));
}

void LineReceiver::OnRxError(RxError error)
{
    if (m_onError)
        m_onError(error);
}
