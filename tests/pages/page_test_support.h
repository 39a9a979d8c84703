#pragma once
// What the page tests share: the language for one test, message boxes
// recorded in order with the host's WM_SHOW_PAGE, a page shown as the
// active window (for focus), a control's accessible name, and the runner
// of the rule tables.

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

// Which a refusing page does first: tell its message or come to the front.
enum class Told { MessageFirst, PageFirst, MessageOnly };

// The rule tables are in English; what each refusal tells in Portuguese
// and Spanish is compared with the reviewed golden/page_messages.txt, one
// line per message: template, English, Portuguese, Spanish. Run the whole
// program (no class named) with KESTREL_UPDATE_GOLDEN=1 to rewrite it.
class MessageDump
{
public:
    static MessageDump &Instance()
    {
        static MessageDump dump;
        return dump;
    }
    ~MessageDump()
    {
        if (!m_update)
            return;
        QFile file(Path());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write((QStringList(m_told.values()).join('\n') + '\n').toUtf8());
    }
    // The line the golden file holds for the message, empty when none.
    QString Golden(const QString &key) const { return m_golden.value(key); }
    void Told(const QString &key, const QString &line)
    {
        m_told.insert(key, line);
        if (m_update)
            m_golden.insert(key, line);
    }

private:
    MessageDump() : m_update(qEnvironmentVariableIsSet("KESTREL_UPDATE_GOLDEN"))
    {
        QFile file(Path());
        if (!file.open(QIODevice::ReadOnly))
            return;
        for (const QString &line :
             QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts))
            m_golden.insert(line.section('\t', 0, 1), line);
    }
    static QString Path() { return QStringLiteral(KESTREL_PAGES_GOLDEN_DIR "/page_messages.txt"); }

    bool m_update;
    QMap<QString, QString> m_golden, m_told;
};

// One row of a page's rule table, run by `check` (the page's check or a
// change's button): with no message the page passes and tells nothing;
// otherwise it refuses, tells exactly the message once and comes to the
// front in its order, and the offending control (when it can) takes the
// focus with its whole text selected. A refusal is then told again in
// Portuguese and Spanish, as the golden file has it.
inline void VerifyRule(const CParameterPage &page, const std::function<bool()> &check,
                       TestPageHost &host, const QString &message, QWidget *offender,
                       Told order = Told::MessageFirst)
{
    const bool passed = check();
    if (message.isEmpty()) {
        QVERIFY(passed);
        QCOMPARE(host.events, QStringList());
        return;
    }
    QVERIFY(!passed);
    const QString box = QStringLiteral("box ") + message;
    const QString show = QStringLiteral("show %1").arg(page.TemplateId());
    const QStringList told = order == Told::MessageOnly ? QStringList{box}
                             : order == Told::PageFirst ? QStringList{show, box}
                                                        : QStringList{box, show};
    QCOMPARE(host.events, told);
    if (offender && offender->isEnabled())
        QTRY_VERIFY(offender->hasFocus());
    if (const auto *field = qobject_cast<QLineEdit *>(offender))
        QCOMPARE(field->selectedText(), field->text());

    QString line = QString::number(page.TemplateId()) + '\t' + message;
    for (int language : {lang::kPortuguese, lang::kSpanish}) {
        LanguageScope scope(language);
        host.events.clear();
        QVERIFY(!check());
        const QStringList boxes = host.events.filter(QRegularExpression(QStringLiteral("^box ")));
        QCOMPARE(boxes.size(), 1);
        line += '\t' + boxes.front().mid(4);
    }
    const QString key = line.section('\t', 0, 1);
    MessageDump::Instance().Told(key, line);
    QCOMPARE(line, MessageDump::Instance().Golden(key));
}

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
