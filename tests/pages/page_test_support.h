#pragma once
// What the page tests share: the language for one test, message boxes
// recorded in order with the host's WM_SHOW_PAGE, a page shown as the
// active window (for focus), a control's accessible name.

#include "page_test_host.h"
#include "pages/parameter_page.h"
#include "params/read_lists.h"
#include "tests/common/qt_test_registry.h"
#include "widgets/app_message_box.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QtTest>
#include <functional>

class LanguageScope
{
public:
    explicit LanguageScope(int code) { lang::SetCode(code); }
    ~LanguageScope() { lang::SetCode(lang::kEnglish); }
    LanguageScope(const LanguageScope &) = delete;
    LanguageScope &operator=(const LanguageScope &) = delete;
};

// While alive, message boxes are recorded here and as "box <text>" in the
// host's events, after or before its "show <template>" lines.
class BoxRecorder
{
public:
    explicit BoxRecorder(TestPageHost &host)
    {
        SetMessageBoxHook([this, &host](const ShownMessage &message) {
            boxes.append(message);
            host.events << QStringLiteral("box ") + message.text;
        });
    }
    ~BoxRecorder() { SetMessageBoxHook({}); }
    BoxRecorder(const BoxRecorder &) = delete;
    BoxRecorder &operator=(const BoxRecorder &) = delete;

    QList<ShownMessage> boxes;
};

// The page initialised against the host and shown as the active window,
// so that focus can be asserted.
inline bool ShowActive(CParameterPage &page, TestPageHost &host)
{
    page.InitPage(host);
    page.show();
    QApplication::setActiveWindow(&page);
    return QTest::qWaitForWindowActive(&page);
}

inline QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The languages of the texts dump.
inline constexpr int kLanguages[] = {lang::kEnglish, lang::kPortuguese, lang::kSpanish};

// The slots' texts, one per slot in the order given.
inline QStringList SlotTexts(const ParameterStore &store, const std::vector<params::Slot> &order)
{
    QStringList texts;
    for (params::Slot slot : order)
        texts << QString::fromStdString(store[slot]);
    return texts;
}

inline void SetSlots(ParameterStore &store, const std::vector<params::Slot> &order,
                     const QStringList &texts)
{
    int i = 0;
    for (params::Slot slot : order)
        store[slot] = texts.value(i++).toStdString();
}
