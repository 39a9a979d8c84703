// The Call waiting and forward page: what the master box includes in a read,
// the boxes that exclude each other, the silent rules, the queries a read
// asks. Store and load are rows of page_scripts_test.

#include "page_script.h"
#include "pages/forward_page.h"

using params::Slot;

namespace {

// The condition boxes' letters and slots: W call waiting, U unconditional,
// B busy, N no answer, O off or not found.
constexpr char kConditions[] = "WUBNO";
constexpr Slot kConditionSlots[] = {Slot::CallWaiting, Slot::ForwardUnconditional,
                                    Slot::ForwardBusy, Slot::ForwardNoAnswer,
                                    Slot::ForwardOffOrNotFound};

QAbstractButton *Condition(const Controls &controls, QChar letter)
{
    return qobject_cast<QAbstractButton *>(Control(controls, letter));
}

// The checked boxes, then "#" when the number field is enabled and "t"
// when the time box is.
QString Checked(const Controls &controls)
{
    QString shown;
    for (QChar letter : QLatin1String(kConditions)) {
        if (Condition(controls, letter)->isChecked())
            shown += letter;
    }
    for (QChar letter : {'#', 't'}) {
        if (Control(controls, letter)->isEnabled())
            shown += letter;
    }
    return shown;
}

} // namespace

class ForwardPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Before, the box clicked, after (see Checked).
    void boxesExcludeEachOther()
    {
        // clang-format off
        const char *const rows[][3] = {
            {"WBNO", "U", "U#"}, // unconditional clears all
            {"WUNO", "B", "BNO#t"}, // busy, no answer and off clear unconditional and waiting
            {"WUBO", "N", "BNO#t"},
            {"WUBN", "O", "BNO#t"},
            {"UBNO", "W", "W"}, // waiting clears every forwarding
            {"WBN", "B", "WN#t"}, // unchecking clears nothing
            {"BN", "N", "B#"}, // unchecking no answer disables the time
            {"O", "O", ""},
            {"WB", "W", "B#"},
        };
        // clang-format on
        for (const auto &[before, clicked, after] : rows) {
            ScriptedPage scripted(params::Page::Forward);
            Act(scripted.controls, QStringLiteral("M"));
            for (QChar letter : QLatin1String(kConditions))
                Condition(scripted.controls, letter)
                    ->setChecked(QLatin1String(before).contains(letter));
            Act(scripted.controls, QLatin1String(clicked));
            QCOMPARE(Checked(scripted.controls) + " after " + before + " " + clicked,
                     QLatin1String(after) + " after " + before + " " + clicked);
        }
    }

    // A load can bring boxes together that a click would exclude: the page
    // refuses without a message until one of them is clicked.
    void silentRules()
    {
        const std::pair<const char *, bool> rows[] = {
            {"UB", false}, {"UN", false}, {"UO", false}, {"WB", false},
            {"WU", false}, {"BNO", true}, {"W", true},
        };
        for (const auto &[loaded, passes] : rows) {
            ScriptedPage scripted(params::Page::Forward);
            TestPageHost &host = scripted.host;
            Act(scripted.controls, QStringLiteral("M"));
            for (size_t i = 0; i < std::size(kConditionSlots); ++i)
                host.store[kConditionSlots[i]] = strchr(loaded, kConditions[i]) ? "01" : "00";
            host.store[Slot::ForwardNumber] = "5550100";
            scripted.page->LoadFromStore();
            QCOMPARE(scripted.page->ValidatePage(), passes);
            QCOMPARE(host.events, passes ? QStringList() : QStringList{"show 188"});
            if (passes)
                continue;
            // Clicking a box clears the excluded ones.
            Act(scripted.controls, QLatin1String(loaded + 1, 1));
            QVERIFY2(scripted.page->ValidatePage(), loaded);
        }
    }

    // The master box includes call waiting and forwarding in what the next
    // read asks and imports; the queries are the catalogue's (see the read
    // lists' own tests).
    void theMasterBoxIncludesWhatTheNextReadAsks()
    {
        for (int clicks : {0, 1, 2}) {
            TestPageHost host;
            CForwardPage page;
            page.InitPage(host);
            for (int i = 0; i < clicks; ++i)
                page.MasterBox()->click();
            const bool master = clicks == 1;
            const ParameterStore &store = host.store;
            QCOMPARE((QList<int>{store.waitingForwardEnabled, store.callWaitingIncluded,
                                 store.forwardingIncluded}),
                     (QList<int>{master, master, master}));
            ReadLists lists, expected;
            page.AppendReadItems(lists);
            params::AppendPageReadItems(params::Page::Forward, expected, {master, master, master});
            QVERIFY(lists.numbers.empty());
            QCOMPARE(lists.atCommands, expected.atCommands);
            QCOMPARE(lists.atArguments, expected.atArguments);
            QCOMPARE(lists.atNames, expected.atNames);
        }
    }
};

KESTREL_QT_TEST(ForwardPageTest)
#include "forward_page_test.moc"
