// The Call waiting and forward, Security code and Times pages in the main
// window against the simulated terminal: forwarding written as AT+CCFC
// lines and read back, the PIN change's own write job, and no clock sent
// or saved unless its box is checked.

#include "main_window_harness.h"
#include "pages/forward_page.h"
#include "pages/security_code_page.h"
#include "pages/times_page.h"
#include "params/ini_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <algorithm>

using main_texts::BottomButton;
using params::Page;
using Strings = std::vector<std::string>;

namespace {

// The write or PIN change job has ended and given the buttons back.
bool WriteEnded(MainWindowHarness &harness)
{
    return harness.ControlsEnabled() && !harness.Window().WaitDialog()->isVisible() &&
           !harness.Window().Engine().JobRunning();
}

// As one text, so that a difference shows.
QString Joined(const Strings &commands)
{
    QStringList joined;
    for (const std::string &command : commands)
        joined << QString::fromStdString(command);
    return joined.join(QStringLiteral(" | "));
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

class MainComplexPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forwardingGoesOutAsCcfcLinesAndComesBackThroughTheRead()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        CForwardPage *forward = harness.PageAs<CForwardPage>(Page::Forward);
        QVERIFY(forward);
        forward->MasterBox()->click();
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        QVERIFY(!forward->BusyBox()->isChecked() && !forward->NumberField()->isEnabled());
        harness.GeneralPassword()->setText(QStringLiteral("123456"));

        forward->BusyBox()->click();
        forward->NoAnswerBox()->click();
        forward->TimeBox()->setCurrentText(QStringLiteral("25"));
        forward->NumberField()->setText(QStringLiteral("+5550100"));
        terminal.ClearCommands();

        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(WriteEnded(harness), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        const Strings sent = CommandsStartingWith(terminal, "AT+CC");
        QCOMPARE(sent, (Strings{"AT+CCWA=0,0,7", "AT+CCFC=0,4", "AT+CCFC=1,3,\"+5550100\",145",
                                "AT+CCFC=2,3,\"+5550100\",145,7,,,25", "AT+CCFC=3,4"}));
        const sim::TerminalState state = terminal.State();
        QVERIFY(state.forwards[1].active && state.forwards[2].active);
        QCOMPARE(state.forwards[2].time, 25);

        // The page forgets; the read brings the terminal's settings back.
        forward->BusyBox()->click();
        forward->NoAnswerBox()->click();
        forward->NumberField()->clear();
        terminal.ClearCommands();
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        QCOMPARE(CommandsStartingWith(terminal, "AT+CC"),
                 (Strings{"AT+CCWA=1,2", "AT+CCFC=0,2", "AT+CCFC=1,2", "AT+CCFC=2,2",
                          "AT+CCFC=3,2", "AT+CCLK?"}));
        QVERIFY(!forward->WaitingBox()->isChecked());
        QVERIFY(!forward->UnconditionalBox()->isChecked());
        QVERIFY(forward->BusyBox()->isChecked());
        QVERIFY(forward->NoAnswerBox()->isChecked());
        QVERIFY(!forward->OffOrNotFoundBox()->isChecked());
        QCOMPARE(forward->NumberField()->text(), QStringLiteral("+5550100"));
        QCOMPARE(forward->TimeBox()->currentText(), QStringLiteral("25"));
        QVERIFY(forward->NumberField()->isEnabled() && forward->TimeBox()->isEnabled());
    }

    void pinChangeWritesItsOwnFileAtOnce()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        QVERIFY(terminal.SetValue(32, "246810"));
        CSecurityCodePage *security = harness.PageAs<CSecurityCodePage>(Page::SecurityCode);
        QVERIFY(security);
        security->ChangeBox()->click();
        QTest::keyClicks(security->OldPinField(), QStringLiteral("4711"));
        QTest::keyClicks(security->NewPinField(), QStringLiteral("2468"));
        QTest::keyClicks(security->ConfirmPinField(), QStringLiteral("2468"));

        QTest::mouseClick(security->ConfirmButton(), Qt::LeftButton);
        QVERIFY(!harness.ControlsEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(WriteEnded(harness), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));

        // The change switch, then the PIN entries: the new PIN is refused
        // while the SIM still has the old one, so the old one switches the
        // check on and is confirmed by the follow-up lines, the change
        // follows, and the new PIN switches the check off again. The
        // terminal's general password is left alone.
        const Strings expected = {"AT+WPAR=9996,\"1234\"",
                                  "AT+WPAR=16207,\"01\"",
                                  "AT+WPAR=16550,\"2468\"",
                                  "AT+WPAR=16549,\"4711\"",
                                  "AT+WPAR=16552,\"4711\"",
                                  "AT+WPAR=16553,\"4711\"",
                                  "AT+WPAR=16548,\"4711\",\"2468\"",
                                  "AT+WPAR=16551,\"2468\"",
                                  "AT+WPAR=9999",
                                  "AT+WPAR=9995",
                                  "AT&W"};
        QCOMPARE(Joined(terminal.Commands()), Joined(expected));
        QVERIFY(!terminal.State().pinLock);
        QCOMPARE(terminal.SimPin(), std::string("2468"));
        QCOMPARE(terminal.Value(32).value_or("?"), std::string("246810"));
        QCOMPARE(harness.Window().WaitDialog()->StatusText(),
                 QStringLiteral("Save AT command success!"));
    }

    void noClockGoesOutOrIsSavedUnlessItsBoxIsChecked()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        CTimesPage *times = harness.PageAs<CTimesPage>(Page::Times);
        QVERIFY(times && !times->ClockBox()->isChecked());
        QVERIFY(times->DateField()->text().isEmpty());
        harness.GeneralPassword()->setText(QStringLiteral("123456"));

        const QString saved = harness.AppDir() + QStringLiteral("/config.ini");
        harness.AnswerFileDialog(saved);
        QTest::mouseClick(harness.Button(BottomButton::Save), Qt::LeftButton);
        QTRY_VERIFY(harness.ControlsEnabled());
        QVERIFY(QFile::exists(saved));
        QCOMPARE(CIniFile(saved.toStdString()).GetString("ATCMD", "AT+CCLK", "none"),
                 std::string("none"));

        terminal.ClearCommands();
        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(WriteEnded(harness), kJobWaitMs);
        QVERIFY(!terminal.Commands().empty());
        QCOMPARE(CommandsStartingWith(terminal, "AT+CCLK"), Strings{});

        // Checked, the clock the box filled in goes out.
        times->SetClock([] { return QDateTime(QDate(2011, 4, 5), QTime(9, 30)); });
        times->ClockBox()->click();
        terminal.ClearCommands();
        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(WriteEnded(harness), kJobWaitMs);
        QCOMPARE(CommandsStartingWith(terminal, "AT+CCLK"),
                 Strings{"AT+CCLK=\"11/04/05,09:30:00-03\""});
    }
};

QTEST_MAIN(MainComplexPagesTest)
#include "main_complex_pages_test.moc"
