// The Call waiting and forward page: the master box and what it enables,
// the boxes that exclude each other, the silent rules and the forward
// number's rules, the queries a read asks, store and load.

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
    void theMasterBoxEnablesThePage()
    {
        TestPageHost host;
        CForwardPage page;
        page.InitPage(host);
        // The call waiting box keeps the template's state until the first click.
        QVERIFY(page.WaitingBox()->isEnabled());
        for (QCheckBox *box : {page.UnconditionalBox(), page.BusyBox(), page.NoAnswerBox(),
                               page.OffOrNotFoundBox()})
            QVERIFY(!box->isEnabled());
        QCOMPARE(Shown(page), QString());
        QCOMPARE(page.TimeBox()->currentText(), QStringLiteral("10"));

        page.MasterBox()->click();
        for (const auto &[letter, box] : Conditions(page))
            QVERIFY(box->isEnabled());
        QVERIFY(page.CallWaitingIncluded() && page.ForwardingIncluded());
        // What the next read asks for and imports follows at once.
        QCOMPARE(host.store.waitingForwardEnabled, 1);
        QCOMPARE(host.store.callWaitingIncluded, 1);
        QCOMPARE(host.store.forwardingIncluded, 1);
        page.NoAnswerBox()->click();
        QCOMPARE(Shown(page), QStringLiteral("N#t"));

        page.MasterBox()->click();
        for (const auto &[letter, box] : Conditions(page))
            QVERIFY(!box->isEnabled());
        QCOMPARE(Shown(page), QStringLiteral("N"));
        QVERIFY(!page.CallWaitingIncluded() && !page.ForwardingIncluded());
        QCOMPARE(host.store.waitingForwardEnabled, 0);
        QCOMPARE(host.store.forwardingIncluded, 0);
    }

    void boxesExcludeEachOther_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("after");
        QTest::newRow("unconditional clears all") << "WBNO"
                                                  << "U"
                                                  << "U#";
        QTest::newRow("busy clears unconditional and waiting") << "WUNO"
                                                               << "B"
                                                               << "BNO#t";
        QTest::newRow("no answer clears unconditional and waiting") << "WUBO"
                                                                    << "N"
                                                                    << "BNO#t";
        QTest::newRow("off clears unconditional and waiting") << "WUBN"
                                                              << "O"
                                                              << "BNO#t";
        QTest::newRow("waiting clears every forwarding") << "UBNO"
                                                         << "W"
                                                         << "W";
        QTest::newRow("unchecking busy clears nothing") << "WBN"
                                                        << "B"
                                                        << "WN#t";
        QTest::newRow("unchecking no answer disables the time") << "BN"
                                                                << "N"
                                                                << "B#";
        QTest::newRow("unchecking the last forwarding") << "O"
                                                        << "O"
                                                        << "";
        QTest::newRow("unchecking waiting clears nothing") << "WB"
                                                           << "W"
                                                           << "B#";
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

    void numberRulesInOrder_data()
    {
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("message"); // empty: the page passes
        const QString tooLong = QStringLiteral("Error: The Forward Number no more than 20 characters!");
        const QString characters = QStringLiteral(
            "Error: Only the characters (+,0,1,...,9) are allowed in the Forward Number!");
        QTest::newRow("empty") << "B" << "" << "Please input the Forward Number.";
        QTest::newRow("21 digits") << "O" << "123456789012345678901" << tooLong;
        QTest::newRow("21 with a letter") << "U" << "12345678901234567890a" << tooLong;
        QTest::newRow("+ alone") << "N" << "+" << characters;
        QTest::newRow("a letter") << "B" << "555a" << characters;
        QTest::newRow("+ inside") << "B" << "55+5" << characters;
        QTest::newRow("two +") << "B" << "++55" << characters;
        QTest::newRow("passes: + and digits") << "B" << "+5" << QString();
        QTest::newRow("passes: 20 digits") << "BNO" << "12345678901234567890" << QString();
        QTest::newRow("passes: + and 19 digits") << "U" << "+1234567890123456789" << QString();
        QTest::newRow("passes: no forwarding, no number") << "" << "a" << QString();
        QTest::newRow("passes: call waiting, no number") << "W" << "" << QString();
    }

    void numberRulesInOrder()
    {
        QFETCH(QString, checked);
        QFETCH(QString, number);
        QFETCH(QString, message);
        TestPageHost host;
        BoxRecorder recorder(host);
        CForwardPage page;
        QVERIFY(ShowActive(page, host));
        page.MasterBox()->click();
        for (QChar letter : checked)
            Condition(page, letter)->click();
        page.NumberField()->setText(number);
        VerifyRule(page, host, message, page.NumberField());
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

    void withTheMasterOffNothingIsChecked()
    {
        TestPageHost host;
        CForwardPage page;
        page.InitPage(host);
        page.MasterBox()->click();
        page.UnconditionalBox()->click();
        page.NumberField()->setText(QStringLiteral("+"));
        page.MasterBox()->click();
        QVERIFY(page.ValidatePage());
    }

    void readItems_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("master");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("off") << 1 << false << QStringList{};
        // Call waiting is named in English in every language.
        QTest::newRow("on, Portuguese")
            << 2 << true
            << QStringList{"Call Waiting 0495", "Habilitar desvio sempre 0496",
                           "Habilitar desvio se ocupado 0497",
                           QString::fromUtf8("Habilitar desvio se não atende 0498"),
                           "Habilitar desvio se desligado 0499"};
        QTest::newRow("on, English")
            << 1 << true
            << QStringList{"Call Waiting 0495", "Forward Unconditional 0496",
                           "Forward When Busy 0497", "Forward When No Answer 0498",
                           "Forward When Turned Off or Not Found 0499"};
    }

    void readItems()
    {
        QFETCH(int, language);
        QFETCH(bool, master);
        QFETCH(QStringList, names);
        LanguageScope scope(language);
        TestPageHost host;
        CForwardPage page;
        page.InitPage(host);
        if (master)
            page.MasterBox()->click();
        ReadLists lists;
        page.AppendReadItems(lists);
        QVERIFY(lists.numbers.empty());
        QStringList actual;
        for (const std::string &name : lists.atNames)
            actual << QString::fromStdString(name);
        QCOMPARE(actual, names);
        if (!master)
            return;
        QCOMPARE(lists.atCommands, (std::vector<std::string>{"AT+CCWA", "AT+CCFC", "AT+CCFC",
                                                             "AT+CCFC", "AT+CCFC"}));
        QCOMPARE(lists.atArguments,
                 (std::vector<std::string>{"=1,2", "=0,2", "=1,2", "=2,2", "=3,2"}));
    }

    void store()
    {
        TestPageHost host;
        CForwardPage page;
        page.InitPage(host);
        host.store[Slot::ForwardNumber] = "kept";
        // Off: the integers say so and no slot is touched.
        host.store.waitingForwardEnabled = 1;
        host.store.forwardingIncluded = 1;
        page.SaveToStore();
        QCOMPARE(host.store.waitingForwardEnabled, 0);
        QCOMPARE(host.store.forwardingIncluded, 0);
        QCOMPARE(host.store[Slot::ForwardNumber], std::string("kept"));

        page.MasterBox()->click();
        page.BusyBox()->click();
        page.NoAnswerBox()->click();
        page.TimeBox()->setCurrentText(QStringLiteral("25"));
        page.NumberField()->setText(QStringLiteral("+5550100"));
        page.SaveToStore();
        QCOMPARE(host.store.waitingForwardEnabled, 1);
        QCOMPARE(host.store.callWaitingIncluded, 1);
        QCOMPARE(host.store.forwardingIncluded, 1);
        const std::pair<Slot, const char *> stored[] = {
            {Slot::CallWaiting, "00"},          {Slot::ForwardUnconditional, "00"},
            {Slot::ForwardBusy, "01"},          {Slot::ForwardNoAnswer, "01"},
            {Slot::NoAnswerTime, "25"},         {Slot::ForwardOffOrNotFound, "00"},
            {Slot::ForwardNumber, "+5550100"},
        };
        for (const auto &[slot, value] : stored)
            QCOMPARE(host.store[slot], std::string(value));
    }

    void load_data()
    {
        QTest::addColumn<bool>("master");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("shown");
        QTest::newRow("off: nothing loaded") << false << "BN"
                                             << "";
        QTest::newRow("no answer") << true << "N"
                                   << "N#t";
        QTest::newRow("busy and off") << true << "BO"
                                      << "BO#";
        QTest::newRow("call waiting") << true << "W"
                                      << "W";
    }

    void load()
    {
        QFETCH(bool, master);
        QFETCH(QString, loaded);
        QFETCH(QString, shown);
        TestPageHost host;
        CForwardPage page;
        page.InitPage(host);
        if (master)
            page.MasterBox()->click();
        const Slot order[] = {Slot::CallWaiting, Slot::ForwardUnconditional, Slot::ForwardBusy,
                              Slot::ForwardNoAnswer, Slot::ForwardOffOrNotFound};
        for (int i = 0; i < 5; ++i)
            host.store[order[i]] = loaded.contains(QStringLiteral("WUBNO")[i]) ? "01" : "00";
        host.store[Slot::ForwardNumber] = "5550100";
        host.store[Slot::NoAnswerTime] = "20";
        page.LoadFromStore();
        QCOMPARE(Shown(page), shown);
        QCOMPARE(page.NumberField()->text(), master ? QStringLiteral("5550100") : QString());
        QCOMPARE(page.TimeBox()->currentText(),
                 master ? QStringLiteral("20") : QStringLiteral("10"));
    }
};

KESTREL_QT_TEST(ForwardPageTest)
#include "forward_page_test.moc"
