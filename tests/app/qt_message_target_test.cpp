// Posted messages to a Qt object: a message that carries a heap block is
// freed whether it is handled, has no handler, or is still queued when the
// object goes away; other events are the object's as usual.

#include "app/qt_message_target.h"
#include "tests/common/qt_test_registry.h"

#include <QtTest>
#include <memory>

namespace {
constexpr uint32_t kHandled = 0x501, kUnhandled = 0x502;
} // namespace

class QtMessageTargetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void carriedBlocksAreFreedExactlyOnce()
    {
        int handled = 0, disposed = 0;
        auto target = std::make_unique<QtMessageTarget>();
        target->On(kHandled, [&](uintptr_t, intptr_t) { ++handled; });
        for (uint32_t message : {kHandled, kUnhandled})
            target->OnDispose(message, [&](uintptr_t, intptr_t) { ++disposed; });

        target->PostMessage(kHandled);
        target->PostMessage(kUnhandled);
        QCoreApplication::processEvents();
        QCOMPARE(handled, 1);
        QCOMPARE(disposed, 1); // only the message nobody handles

        target->PostMessage(kHandled);
        target->PostMessage(kUnhandled);
        // Deleted by an event of another kind, which is the object's own.
        target.release()->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(handled, 1);
        QCOMPARE(disposed, 3); // both messages still queued
    }
};

KESTREL_QT_TEST(QtMessageTargetTest)
#include "qt_message_target_test.moc"
