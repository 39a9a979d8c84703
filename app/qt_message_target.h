#pragma once
// Posted window messages for Qt objects: any thread posts (number, wParam,
// lParam); the receiving object's thread handles them in order through its
// handler map, as a window's message map would.

#include "platform/message_queue.h"

#include <QEvent>
#include <QObject>
#include <functional>
#include <unordered_map>

class QtMessageTarget : public QObject, public platform::IMessageTarget
{
public:
    using Handler = std::function<void(uintptr_t wParam, intptr_t lParam)>;

    explicit QtMessageTarget(QObject *parent = nullptr);

    // The handler map; set up on the object's thread.
    void On(uint32_t message, Handler handler);
    // Frees what a message of this number carries when it is never handled
    // (still queued when the object goes away). Set up before anyone posts.
    void OnDispose(uint32_t message, Handler disposer);
    // Thread-safe. Posting to an object that is being destroyed is the
    // poster's fault: owners unhook themselves from the port first.
    bool PostMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    // Handles a message at once on the calling (the object's) thread.
    void SendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

    static QEvent::Type EventType();

protected:
    bool event(QEvent *event) override;

private:
    std::unordered_map<uint32_t, Handler> m_handlers;
    std::unordered_map<uint32_t, Handler> m_disposers;
};
