#pragma once
// What the page tests share: the language for one test, message boxes
// recorded in order with the host's WM_SHOW_PAGE, a page shown as the
// active window (for focus), and a control's accessible name.

#include "page_test_host.h"
#include "pages/parameter_page.h"
#include "params/read_lists.h"
#include "widgets/app_message_box.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QList>
#include <QtTest>

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

// What each control shows, and the name a screen reader gives it.
template <class Control>
QStringList ShownTexts(const QList<Control *> &controls)
{
    QStringList texts;
    for (const Control *control : controls)
        texts << control->text();
    return texts;
}
template <class Control>
QStringList AccessibleNames(const QList<Control *> &controls)
{
    QStringList names;
    for (Control *control : controls)
        names << AccessibleName(control);
    return names;
}

// The names a screen reader gives controls with these texts: no blanks
// around them, and a field whose label repeats on its page named with its
// group ("Flash Time, Time:").
inline QStringList Spoken(QStringList texts)
{
    for (QString &text : texts)
        text = text.trimmed();
    return texts;
}
inline QString InGroup(const QString &group, const QString &label)
{
    return group.trimmed() + QStringLiteral(", ") + label;
}

// The texts of the page's labels, in the order they were made.
inline QStringList LabelTexts(const QWidget &page)
{
    return ShownTexts(page.findChildren<QLabel *>());
}

// The languages every texts test runs in.
struct LanguageRow
{
    int code;
    const char *name;
};
inline constexpr LanguageRow kLanguages[] = {
    {lang::kEnglish, "English"}, {lang::kPortuguese, "Portuguese"}, {lang::kSpanish, "Spanish"}};

// main() of a page test program: the offscreen platform unless one is set.
#define KESTREL_PAGE_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication application(argc, argv);                                                      \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
