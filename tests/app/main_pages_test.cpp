// The pages with lists, forwarding and the clock in the main
// window against the simulated terminal, which answers unused list entries
// with the blank record "0*0*0*0": an emptied row loses no number behind
// it; forwarding goes out as AT+CCFC lines and comes back through the read,
// and no clock goes out unchecked.

#include "main_window_harness.h"
#include "pages/forward_page.h"
#include "pages/times_page.h"
#include "params/ini_file.h"

#include <QCheckBox>
#include <QComboBox>

using main_texts::BottomButton;
using params::Page;
using Strings = std::vector<std::string>;

namespace {

constexpr int kFirstCallBack = 16212;

Strings CallBackNumbers(sim::TerminalSimulator &terminal, int count)
{
    Strings numbers;
    for (int number = kFirstCallBack; number < kFirstCallBack + count; ++number)
        numbers.push_back(terminal.Value(number).value_or("?"));
    return numbers;
}

QStringList FirstNumbers(const CReportCtrl *list)
{
    return {list->CellText(0, 1), list->CellText(1, 1), list->CellText(2, 1)};
}

Strings CommandsStartingWith(sim::TerminalSimulator &terminal, const std::string &prefix)
{
    Strings found;
    for (const std::string &command : terminal.Commands()) {
        if (command.rfind(prefix, 0) == 0)
            found.push_back(command);
    }
    return found;
}

} // namespace

class MainPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The read ends a list at its first empty entry: a row emptied between
    // two numbers is closed up when stored, so the next Receive still reads
    // the number behind it; a row typed over changes that number alone.
    void emptiedAndEditedRowsLoseNoNumber()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        const std::pair<int, const char *> values[] = {
            {3000, "01"}, {3001, "811"}, {3002, "812"}, {3003, "813"}, {16517, "01"}};
        for (const auto &[number, value] : values)
            QVERIFY(terminal.SetValue(number, value));
        for (int number = kFirstCallBack; number < kFirstCallBack + 8; ++number)
            QVERIFY(terminal.SetValue(number, std::to_string(1507 + number - kFirstCallBack)));
        QCOMPARE(harness.Run(BottomButton::Receive), QString());
        CReportCtrl *lists[] = {harness.Forbids()->List(), harness.CallBack()->List()};
        for (CReportCtrl *list : lists)
            list->SetCellText(1, 1, QString());
        // Row 5 (parameter 16216) typed over in place.
        QTest::mousePress(harness.Window().NavButtonAt(10), Qt::LeftButton);
        lists[1]->SelectRow(4);
        lists[1]->setFocus();
        QTest::keyClick(lists[1], '0'); // opens the editor
        QVERIFY(lists[1]->InPlaceEditor());
        QTest::keyClicks(lists[1]->InPlaceEditor(), QStringLiteral("211"));
        QTest::keyClick(lists[1]->InPlaceEditor(), Qt::Key_Return);
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        QCOMPARE(harness.Run(BottomButton::Transmit), QString());

        const Strings callBack = {"1507", "1509", "1510", "0211", "1512", "1513", "1514", ""};
        QCOMPARE(FirstNumbers(lists[0]), (QStringList{"811", "813", ""}));
        QCOMPARE(terminal.Value(3002).value_or("?"), std::string("813"));
        QCOMPARE(CallBackNumbers(terminal, 8), callBack);
        QCOMPARE(harness.Run(BottomButton::Receive), QString());
        QCOMPARE(FirstNumbers(lists[0]), (QStringList{"811", "813", ""}));
        QCOMPARE(FirstNumbers(lists[1]), (QStringList{"1507", "1509", "1510"}));
    }

    // Forwarding goes out as AT+CCFC lines and comes back through the read;
    // the clock goes out, or into a saved file, only with its box checked.
    void forwardingAndClockGoOutAsAtLines()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        CForwardPage *forward = harness.PageAs<CForwardPage>(Page::Forward);
        forward->MasterBox()->click();
        QCOMPARE(harness.Run(BottomButton::Receive), QString());
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        const QString saved = harness.AppDir() + QStringLiteral("/config.ini");
        harness.AnswerFileDialog(saved);
        QCOMPARE(harness.Run(BottomButton::Save), QString());
        QCOMPARE(CIniFile(saved.toStdString()).GetString("ATCMD", "AT+CCLK", "none"),
                 std::string("none"));

        forward->BusyBox()->click();
        forward->NoAnswerBox()->click();
        forward->TimeBox()->setCurrentText(QStringLiteral("25"));
        forward->NumberField()->setText(QStringLiteral("+5550100"));
        terminal.ClearCommands();
        QCOMPARE(harness.Run(BottomButton::Transmit), QString());
        QCOMPARE(CommandsStartingWith(terminal, "AT+CC"), // no AT+CCLK either
                 (Strings{"AT+CCWA=0,0,7", "AT+CCFC=0,4", "AT+CCFC=1,3,\"+5550100\",145",
                          "AT+CCFC=2,3,\"+5550100\",145,7,,,25", "AT+CCFC=3,4"}));

        // The page forgets; the read brings the terminal's settings back.
        forward->BusyBox()->click();
        forward->NoAnswerBox()->click();
        forward->NumberField()->clear();
        terminal.ClearCommands();
        QCOMPARE(harness.Run(BottomButton::Receive), QString());
        QCOMPARE(CommandsStartingWith(terminal, "AT+CC"),
                 (Strings{"AT+CCWA=1,2", "AT+CCFC=0,2", "AT+CCFC=1,2", "AT+CCFC=2,2", "AT+CCFC=3,2",
                          "AT+CCLK?"}));
        QVERIFY(!forward->WaitingBox()->isChecked());
        QVERIFY(!forward->UnconditionalBox()->isChecked());
        QVERIFY(forward->BusyBox()->isChecked());
        QVERIFY(forward->NoAnswerBox()->isChecked());
        QVERIFY(!forward->OffOrNotFoundBox()->isChecked());
        QCOMPARE(forward->NumberField()->text(), QStringLiteral("+5550100"));
        QCOMPARE(forward->TimeBox()->currentText(), QStringLiteral("25"));
        QVERIFY(forward->NumberField()->isEnabled() && forward->TimeBox()->isEnabled());

        // Checked, the clock the box filled in goes out.
        CTimesPage *times = harness.PageAs<CTimesPage>(Page::Times);
        times->SetClock([] { return QDateTime(QDate(2011, 4, 5), QTime(9, 30)); });
        times->ClockBox()->click();
        terminal.ClearCommands();
        QCOMPARE(harness.Run(BottomButton::Transmit), QString());
        QCOMPARE(CommandsStartingWith(terminal, "AT+CCLK"),
                 Strings{"AT+CCLK=\"11/04/05,09:30:00-03\""});
    }
};

KESTREL_QT_TEST(MainPagesTest)
#include "main_pages_test.moc"
