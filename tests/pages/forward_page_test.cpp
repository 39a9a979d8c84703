// The Call waiting and forward page: what the master box includes in a read,
// the boxes that exclude each other, the silent rules, the queries a read
// asks, store and load.

#include "page_test_support.h"
#include "pages/forward_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using params::Slot;

namespace {

// The condition boxes as letters: W call waiting, U unconditional, B busy,
// N no answer, O off or not found.
std::vector<std::pair<QChar, QCheckBox *>> Conditions(const CForwardPage &page)
{
    return {{'W', page.WaitingBox()},
            {'U', page.UnconditionalBox()},
            {'B', page.BusyBox()},
            {'N', page.NoAnswerBox()},
            {'O', page.OffOrNotFoundBox()}};
}

QCheckBox *Condition(const CForwardPage &page, QChar letter)
{
    for (const auto &[name, box] : Conditions(page)) {
        if (name == letter)
            return box;
    }
    return nullptr;
}

// The checked boxes, then "#" when the number field is enabled and "t"
// when the time box is.
QString Shown(const CForwardPage &page)
{
    QString shown;
    for (const auto &[letter, box] : Conditions(page)) {
        if (box->isChecked())
            shown += letter;
    }
    if (page.NumberField()->isEnabled())
        shown += '#';
    if (page.TimeBox()->isEnabled())
        shown += 't';
    return shown;
}

void SetChecked(const CForwardPage &page, const QString &letters)
{
    for (const auto &[letter, box] : Conditions(page))
        box->setChecked(letters.contains(letter));
}

} // namespace

class ForwardPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theMasterBoxIncludesWhatTheNextReadAsks()
    {
        TestPageHost host;
        CForwardPage page;
        page.InitPage(host);
        page.MasterBox()->click();
        QVERIFY(page.CallWaitingIncluded() && page.ForwardingIncluded());
        // What the next read asks for and imports follows at once.
        QCOMPARE(host.store.waitingForwardEnabled, 1);
        QCOMPARE(host.store.callWaitingIncluded, 1);
        QCOMPARE(host.store.forwardingIncluded, 1);
        page.MasterBox()->click();
        QVERIFY(!page.CallWaitingIncluded() && !page.ForwardingIncluded());
        QCOMPARE(host.store.waitingForwardEnabled, 0);
        QCOMPARE(host.store.forwardingIncluded, 0);
    }

    void boxesExcludeEachOther_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("after");
        // clang-format off
        const char *const rows[][4] = {
            {"unconditional clears all", "WBNO", "U", "U#"},
            {"busy clears unconditional and waiting", "WUNO", "B", "BNO#t"},
            {"no answer clears unconditional and waiting", "WUBO", "N", "BNO#t"},
            {"off clears unconditional and waiting", "WUBN", "O", "BNO#t"},
            {"waiting clears every forwarding", "UBNO", "W", "W"},
            {"unchecking busy clears nothing", "WBN", "B", "WN#t"},
            {"unchecking no answer disables the time", "BN", "N", "B#"},
            {"unchecking the last forwarding", "O", "O", ""},
            {"unchecking waiting clears nothing", "WB", "W", "B#"},
        };
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[0]) << row[1] << row[2] << row[3];
    }

    void boxesExcludeEachOther()
    {
        QFETCH(QString, before);
        QFETCH(QString, clicked);
        QFETCH(QString, after);
        TestPageHost host;
        CForwardPage page;
        page.InitPage(host);
        page.MasterBox()->click();
        SetChecked(page, before);
        Condition(page, clicked[0])->click();
        QCOMPARE(Shown(page), after);
    }

    // A load can bring boxes together that a click would exclude: the page
    // refuses without a message until one of them is clicked.
    void silentRules_data()
    {
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<bool>("passes");
        QTest::newRow("1 unconditional and busy") << "UB" << false;
        QTest::newRow("1 unconditional and no answer") << "UN" << false;
        QTest::newRow("1 unconditional and off") << "UO" << false;
        QTest::newRow("2 waiting and busy") << "WB" << false;
        QTest::newRow("2 waiting and unconditional") << "WU" << false;
        QTest::newRow("busy, no answer and off") << "BNO" << true;
        QTest::newRow("waiting alone") << "W" << true;
    }

    void silentRules()
    {
        QFETCH(QString, loaded);
        QFETCH(bool, passes);
        TestPageHost host;
        BoxRecorder recorder(host);
        CForwardPage page;
        page.InitPage(host);
        page.MasterBox()->click();
        for (const auto &[letter, box] : Conditions(page)) {
            const Slot order[] = {Slot::CallWaiting, Slot::ForwardUnconditional, Slot::ForwardBusy,
                                  Slot::ForwardNoAnswer, Slot::ForwardOffOrNotFound};
            const int index = QStringLiteral("WUBNO").indexOf(letter);
            host.store[order[index]] = loaded.contains(letter) ? "01" : "00";
        }
        host.store[Slot::ForwardNumber] = "5550100";
        page.LoadFromStore();
        QCOMPARE(page.ValidatePage(), passes);
        QVERIFY(recorder.boxes.isEmpty());
        QCOMPARE(host.events, passes ? QStringList() : QStringList{"show 188"});
        if (passes)
            return;
        // Clicking a box clears the excluded ones.
        Condition(page, loaded[1])->click();
        QVERIFY(page.ValidatePage());
    }

    // The queries follow the master box; their commands and labels are the
    // catalogue's (see the read lists' own tests).
    void readItems()
    {
        for (bool master : {false, true}) {
            TestPageHost host;
            CForwardPage page;
            page.InitPage(host);
            if (master)
                page.MasterBox()->click();
            ReadLists lists, expected;
            page.AppendReadItems(lists);
            params::AppendPageReadItems(params::Page::Forward, expected, {master, master, master});
            QCOMPARE(lists.AtQueryCount(), master ? size_t(5) : size_t(0));
            QVERIFY(lists.numbers.empty());
            QCOMPARE(lists.atCommands, expected.atCommands);
            QCOMPARE(lists.atArguments, expected.atArguments);
            QCOMPARE(lists.atNames, expected.atNames);
        }
    }
};

KESTREL_QT_TEST(ForwardPageTest)
#include "forward_page_test.moc"
