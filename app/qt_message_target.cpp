#include "app/qt_message_target.h"

#include <QCoreApplication>

namespace {

class WindowMessageEvent : public QEvent
{
public:
    WindowMessageEvent(uint32_t message, uintptr_t wParam, intptr_t lParam)
        : QEvent(QtMessageTarget::EventType()), m_message{message, wParam, lParam}
    {}
    const platform::Message &Message() const { return m_message; }

private:
    platform::Message m_message;
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

bool QtMessageTarget::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    QCoreApplication::postEvent(this, new WindowMessageEvent(message, wParam, lParam));
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
    const platform::Message &m = static_cast<WindowMessageEvent *>(event)->Message();
    SendMessage(m.id, m.wParam, m.lParam);
    return true;
}
