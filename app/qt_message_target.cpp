#include "app/qt_message_target.h"

#include <QCoreApplication>

namespace {

// Qt deletes the events still queued for an object that goes away; such an
// event frees what its message carries.
class WindowMessageEvent : public QEvent
{
public:
    WindowMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam,
                       QtMessageTarget::Handler disposer)
        : QEvent(QtMessageTarget::EventType()), m_message{message, wParam, lParam},
          m_disposer(std::move(disposer))
    {}
    ~WindowMessageEvent() override
    {
        if (m_disposer)
            m_disposer(m_message.wParam, m_message.lParam);
    }
    const platform::Message &Message() const { return m_message; }
    // A handler owns what the message carries from now on.
    void Take() { m_disposer = nullptr; }

private:
    platform::Message m_message;
    QtMessageTarget::Handler m_disposer;
};

} // namespace

QtMessageTarget::QtMessageTarget(QObject *parent) : QObject(parent) {}

QEvent::Type QtMessageTarget::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void QtMessageTarget::On(uint32_t message, Handler handler)
{
    m_handlers[message] = std::move(handler);
}

void QtMessageTarget::OnDispose(uint32_t message, Handler disposer)
{
    m_disposers[message] = std::move(disposer);
}

bool QtMessageTarget::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    const auto disposer = m_disposers.find(message);
    QCoreApplication::postEvent(
        this, new WindowMessageEvent(message, wParam, lParam,
                                     disposer == m_disposers.end() ? Handler() : disposer->second));
    return true;
}

void QtMessageTarget::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (auto it = m_handlers.find(message); it != m_handlers.end())
        it->second(wParam, lParam);
}

bool QtMessageTarget::event(QEvent *event)
{
    if (event->type() != EventType())
        return QObject::event(event);
    auto *windowMessage = static_cast<WindowMessageEvent *>(event);
    const platform::Message &m = windowMessage->Message();
    // Without a handler the event's deletion frees what the message carries.
    if (m_handlers.count(m.id)) {
        windowMessage->Take();
        SendMessage(m.id, m.wParam, m.lParam);
    }
    return true;
}
