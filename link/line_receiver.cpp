#include "link/line_receiver.h"

#include "platform/messages.h"

LineReceiver::LineReceiver(CSerialPort &port, LineHandler onLine, ErrorHandler onError,
                           DroppedHandler onDropped)
    : m_onLine(std::move(onLine)), m_onError(std::move(onError)), m_onDropped(std::move(onDropped)),
      m_builder(port, *this)
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

void LineReceiver::OnRxLineDropped()
{
    if (m_onDropped)
        m_onDropped();
}

void LineReceiver::OnRxError(RxError error)
{
    if (m_onError)
        m_onError(error);
}
