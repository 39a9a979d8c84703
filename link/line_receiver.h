#pragma once
// A receiving window without a window: owns a line builder and hands every
// complete line, as a heap copy, to a callback. For the command-line front
// end and tests; the GUI windows implement IRxLineOwner themselves.

#include "link/line_builder.h"
#include "platform/message_queue.h"

#include <functional>

class LineReceiver final : public IRxLineOwner
{
public:
    using LineHandler = std::function<void(std::unique_ptr<std::string> line)>;
    using ErrorHandler = std::function<void(RxError error)>;
    using DroppedHandler = std::function<void()>;

    LineReceiver(CSerialPort &port, LineHandler onLine, ErrorHandler onError = {},
                 DroppedHandler onDropped = {});
    LineReceiver(const LineReceiver &) = delete;
    LineReceiver &operator=(const LineReceiver &) = delete;

    // Routes the queue's WM_COMMNOTIFY here. The queue is the port's owner
    // (CSerialPort::SetOwner), and this object must outlive its loop.
    void Attach(platform::MessageQueue &queue);
    void OnCommNotify(uintptr_t wParam) { m_builder.OnCommNotify(wParam); }
    RxLineBuilder &Builder() { return m_builder; }

    void OnRxLineReady() override;
    void OnRxError(RxError error) override;
    void OnRxLineDropped() override;

private:
    LineHandler m_onLine;
    ErrorHandler m_onError;
    DroppedHandler m_onDropped;
    RxLineBuilder m_builder;
};
