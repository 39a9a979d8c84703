// Every page driven by scripts of clicks and texts, its controls found by
// their accessible names (golden/page_scripts.txt): the boxes and switches
// that enable controls, the rules a page checks in their order, what a page
// shows of a load and stores; and the bounds every field takes from the
// parameter catalogue.

#include "page_script.h"
#include "tests/common/qt_golden.h"

#include <memory>
#include <span>

using params::Page;
using params::Slot;

namespace {

// The slots each page loads and stores, in the order of the texts of
// "load" and "store".
std::vector<Slot> SlotsOf(Page page)
{
    using enum Slot;
    switch (page) {
    case Page::Passwords:
        return {GeneralPassword};
    case Page::Forbids:
        return {LongDistanceBlock, InternationalBlock, IncomingBlock, PrefixNumberBlock};
    case Page::Prefix:
        return {AddPrefix, PreNumbers, Prefix};
    case Page::Csp:
        return {CspNone, CspAllCalls, CspCallBack, CspNumber};
    case Page::SecurityCode:
        return {PinStartUp, PinCode};
    case Page::Times:
        return {DialTimeout,      Date,         Time, RestrictOutgoing, OutgoingLimit, FlashTime,
                RestrictIncoming, IncomingLimit};
    case Page::Volume:
        return {TxVolume, RxVolume};
    case Page::Forward:
        return {CallWaiting,  ForwardUnconditional, ForwardBusy,  ForwardNoAnswer,
                NoAnswerTime, ForwardOffOrNotFound, ForwardNumber};
    case Page::RestrictedId:
        return {RestrictedId};
    case Page::Polarity:
        return {PolarityInversion};
    case Page::CallBack:
        return {CallBack, CallBackTime, CallBackAttempts, AnswerCallBackTime};
    default:
        return {};
    }
}

// Where the focus is after a refusal: a field's selection, a list's
// selected rows and current row.
std::string Selection()
{
    QWidget *focus = QApplication::focusWidget();
    if (const auto *field = qobject_cast<QLineEdit *>(focus))
        return "selected \"" + field->selectedText().toStdString() + '"';
    if (auto *list = qobject_cast<CReportCtrl *>(focus)) {
        QStringList rows;
        for (int row : SelectedRows(list))
            rows << QString::number(row);
        return QStringLiteral("rows %1 selected, row %2 current")
            .arg(rows.join(','))
            .arg(list->currentIndex().row())
            .toStdString();
    }
    return {};
}

// The page's check, or a click of its button `button`, which passes when
// the host is asked for the change.
bool Passes(const ScriptedPage &scripted, char button)
{
    if (!button)
        return scripted.page->ValidatePage();
    qobject_cast<QAbstractButton *>(Control(scripted.controls, QChar(button)))->click();
    return scripted.host.pinChanges > 0 || !scripted.host.changedPassword.empty();
}

// Results that read the same on every run: a line end typed into a field
// as \r, the date and time the clock box fills in as "today" and "now".
std::vector<std::string> Steady(std::vector<std::string> results)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (std::string &result : results) {
        QString text = QString::fromStdString(result);
        text.replace('\r', QLatin1String("\\r"));
        for (const QDateTime &minute : {now, now.addSecs(-60)})
            text.replace(minute.toString(QStringLiteral("'d='ddMMyy' h='hhmm")),
                         QLatin1String("d=today h=now"));
        result = text.toStdString();
    }
    return results;
}

// Runs the lines of golden/page_scripts.txt (its head tells them) on one
// page at a time.
class ScriptRunner
{
public:
    std::vector<std::string> Take(const std::string &line)
    {
        const QString command = QString::fromStdString(line).section(' ', 0, 0);
        const QString argument = QString::fromStdString(Unescape(line)).section(' ', 1);
        if (command == QLatin1String("page")) {
            const auto *name = std::find(std::begin(kPageNames), std::end(kPageNames), argument);
            m_kind = Page(name - std::begin(kPageNames));
            m_scripted = std::make_unique<ScriptedPage>(m_kind);
            return m_scripted->shown ? ShownNow() : std::vector<std::string>{"not shown"};
        }
        if (!m_scripted)
            return {};
        ParameterStore &store = m_scripted->host.store;
        if (command == QLatin1String("do"))
            Act(m_scripted->controls, argument);
        if (command == QLatin1String("entries")) {
            for (const QString &entry : argument.split(' '))
                Entries()[entry.section('=', 0, 0).toUInt()] = entry.section('=', 1).toStdString();
        }
        if (command == QLatin1String("load")) {
            if (line != "load")
                SetSlots(store, SlotsOf(m_kind), argument.split('|'));
            m_scripted->page->LoadFromStore();
        }
        if (command == QLatin1String("store"))
            return Store();
        if (command == QLatin1String("check"))
            return Check(argument.isEmpty() ? 0 : argument.at(0).toLatin1());
        return ShownNow();
    }
    std::vector<std::string> Finish()
    {
        m_scripted.reset();
        return {};
    }

private:
    // The list page's numbers in the store.
    std::span<std::string> Entries()
    {
        ParameterStore &store = m_scripted->host.store;
        if (m_kind == Page::Forbids)
            return store.forbidden;
        return m_kind == Page::CallBack ? std::span<std::string>(store.callBack)
                                        : std::span<std::string>();
    }

    // "what 2=0211 299=5550299": the numbers that are not empty, by index.
    static std::string Numbered(const char *what, const QStringList &numbers)
    {
        QStringList listed;
        for (int i = 0; i < numbers.size(); ++i) {
            if (!numbers[i].isEmpty())
                listed << QStringLiteral("%1=%2").arg(i).arg(numbers[i]);
        }
        return listed.isEmpty() ? std::string() : what + (' ' + listed.join(' ').toStdString());
    }

    // What the page shows, and a list's rows that hold a number.
    std::vector<std::string> ShownNow() const
    {
        std::vector<std::string> shown{Shown(m_scripted->controls).toStdString()};
        const auto *list = qobject_cast<CReportCtrl *>(Control(m_scripted->controls, 'l'));
        if (std::string rows = list ? Numbered("rows", Numbers(list)) : ""; !rows.empty())
            shown.push_back(rows);
        return shown;
    }

    // Of the store's integers, set to 1 and 2 before, the forward page
    // stores its three switches, the Security code page the PIN write mode.
    std::vector<std::string> Store()
    {
        ParameterStore &store = m_scripted->host.store;
        const std::vector<Slot> order = SlotsOf(m_kind);
        SetSlots(store, order, QStringList(qsizetype(order.size()), QStringLiteral("?")));
        store.waitingForwardEnabled = store.callWaitingIncluded = store.forwardingIncluded = 1;
        store.pinWriteMode = 2;
        m_scripted->page->SaveToStore();
        std::vector<std::string> results{"stored " +
                                             SlotTexts(store, order).join('|').toStdString(),
                                         QStringLiteral("switches %1 %2 %3, PIN write mode %4")
                                             .arg(store.waitingForwardEnabled)
                                             .arg(store.callWaitingIncluded)
                                             .arg(store.forwardingIncluded)
                                             .arg(store.pinWriteMode)
                                             .toStdString()};
        QStringList entries;
        for (const std::string &entry : Entries())
            entries << QString::fromStdString(entry);
        if (std::string listed = Numbered("entries", entries); !listed.empty())
            results.push_back(listed);
        const std::vector<std::string> shown = ShownNow();
        results.insert(results.end(), shown.begin() + 1, shown.end());
        return results;
    }

    // What the page told and where it left the focus; a refusal changes
    // nothing in the store and is told again in Portuguese and Spanish.
    std::vector<std::string> Check(char button)
    {
        TestPageHost &host = m_scripted->host;
        const ParameterStore before = host.store;
        host.events.clear();
        std::vector<std::string> results{Passes(*m_scripted, button) ? "passes" : "refused"};
        for (const QString &event : host.events)
            results.push_back(event.toStdString());
        if (host.changedPassword.size() == 2)
            results.push_back("asked to change the password to " + host.changedPassword[0] +
                              ", confirmed " + host.changedPassword[1]);
        if (host.pinChanges)
            results.push_back("asked to change the PIN");
        QApplication::processEvents();
        const std::vector<std::string> shown = ShownNow();
        results.insert(results.end(), shown.begin(), shown.end());
        if (results.front() == "passes")
            return results;
        if (std::string selection = Selection(); !selection.empty())
            results.push_back(selection);
        if (!(host.store == before))
            results.push_back("store changed");
        for (const auto &[language, name] :
             {std::pair{lang::kPortuguese, "pt "}, {lang::kSpanish, "es "}}) {
            LanguageScope scope(language);
            host.events.clear();
            Passes(*m_scripted, button);
            for (const QString &box : host.events.filter(QStringLiteral("box ")))
                results.push_back(name + box.toStdString());
        }
        return results;
    }

    Page m_kind = Page::Passwords;
    std::unique_ptr<ScriptedPage> m_scripted;
};

// A field's bounds: the script with "%" for the value, and the control
// that refuses it (a field, or "l0" the first row of a list).
struct BoundsCase
{
    const char *name;
    Page page;
    const params::ValueForm &form;
    const char *script;
    const char *field;
    char button = 0;
};

// The values at the edges of the form, each with whether it lies outside:
// the values where the form bounds them, otherwise the lengths.
std::vector<std::pair<QString, bool>> Edges(const params::ValueForm &form)
{
    auto number = [&form](int n) {
        return QStringLiteral("%1").arg(n, form.minLength, 10, QLatin1Char('0'));
    };
    auto digits = [](int count) {
        QString text;
        for (int i = 1; i <= count; ++i)
            text += QLatin1Char(char('0' + i % 10));
        return text;
    };
    if (form.maxValue) {
        std::vector<std::pair<QString, bool>> edges{{number(form.minValue), false},
                                                    {number(form.maxValue), false},
                                                    {number(form.maxValue + 1), true}};
        if (form.minValue > 0)
            edges.emplace_back(number(form.minValue - 1), true);
        return edges;
    }
    std::vector<std::pair<QString, bool>> edges{{digits(form.maxLength), false},
                                                {digits(form.maxLength + 1), true}};
    if (form.minLength > 1) {
        edges.emplace_back(digits(form.minLength), false);
        edges.emplace_back(digits(form.minLength - 1), true);
    }
    return edges;
}

} // namespace

class PageScriptsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void asTheTranscriptSays()
    {
        ScriptRunner runner;
        ExpectTranscript(
            KESTREL_PAGES_GOLDEN_DIR "/page_scripts.txt",
            [&](const std::string &line) { return Steady(runner.Take(line)); },
            [&] { return runner.Finish(); });
    }

    void everyFieldTakesItsBoundsFromTheCatalogue()
    {
        using params::FormOf;
        // clang-format off
        const BoundsCase cases[] = {
            {"general password", Page::Passwords, FormOf(Slot::GeneralPassword), "G=%", "G"},
            {"new software password", Page::Passwords, params::kSoftwarePasswordForm, "C o=1234 n=% c=%", "n", 'K'},
            {"forbidden number", Page::Forbids, params::kForbiddenList.form, "L l0=%", "l0"},
            {"pre-numbers", Page::Prefix, FormOf(Slot::PreNumbers), "S N=%", "N"},
            {"prefix", Page::Prefix, FormOf(Slot::Prefix), "S P=%", "P"},
            {"CSP number", Page::Csp, FormOf(Slot::CspNumber), "B #=%", "#"},
            {"forward number", Page::Forward, FormOf(Slot::ForwardNumber), "M B #=%", "#"},
            {"PIN code", Page::SecurityCode, FormOf(Slot::PinCode), "P=%", "P"},
            {"new PIN", Page::SecurityCode, FormOf(Slot::NewPin), "C o=1234 n=% c=%", "n", 'K'},
            {"dial timeout", Page::Times, FormOf(Slot::DialTimeout), "T t=%", "t"},
            {"outgoing limit", Page::Times, FormOf(Slot::OutgoingLimit), "O o=%", "o"},
            {"incoming limit", Page::Times, FormOf(Slot::IncomingLimit), "I i=%", "i"},
            {"flash time", Page::Times, FormOf(Slot::FlashTime), "F f=%", "f"},
            {"TX volume", Page::Volume, FormOf(Slot::TxVolume), "T t=%", "t"},
            {"RX volume", Page::Volume, FormOf(Slot::RxVolume), "R r=%", "r"},
            {"call back time", Page::CallBack, FormOf(Slot::CallBackTime), "S T t=%", "t"},
            {"call back attempts", Page::CallBack, FormOf(Slot::CallBackAttempts), "S A a=%", "a"},
            {"time to answer call back", Page::CallBack, FormOf(Slot::AnswerCallBackTime), "S R r=%", "r"},
            {"call back number", Page::CallBack, params::kCallBackList.form, "S L l0=%", "l0"},
        };
        // clang-format on
        for (const BoundsCase &c : cases) {
            for (const auto &[value, outside] : Edges(c.form)) {
                ScriptedPage scripted(c.page);
                Act(scripted.controls, QString::fromLatin1(c.script).replace('%', value));
                Passes(scripted, c.button);
                QWidget *control = Control(scripted.controls, QChar(*c.field));
                const auto *field = qobject_cast<QLineEdit *>(control);
                const bool refused =
                    field ? field->text() != value || field->hasSelectedText()
                          : SelectedRows(qobject_cast<CReportCtrl *>(control)).contains(0);
                QVERIFY2(refused == outside,
                         qPrintable(QStringLiteral("%1 \"%2\"").arg(c.name, value)));
            }
        }
    }
};

KESTREL_QT_TEST(PageScriptsTest)
#include "page_scripts_test.moc"
