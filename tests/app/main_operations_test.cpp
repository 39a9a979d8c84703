// Receive, Transmit, the job watchdog and Exit against the simulated
// terminal, with the reports the user gets.

#include "app/page_table.h"
#include "main_window_harness.h"
#include "pages/volume_page.h"
#include "platform/port_lock.h"
#include "platform/port_names.h"

#include <QCheckBox>

using main_texts::BottomButton;
using params::Page;
using params::Slot;

namespace {
const SimSetUp kSilent = [](sim::SimOptions &o) { o.faults.silentAfter = 0; };
}

class MainOperationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void receiveFillsStoreAndPages()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        QVERIFY(terminal.SetValue(5, "01"));
        QVERIFY(terminal.SetValue(3000, "01"));
        harness.FillForbiddenBefore(3005);
        QVERIFY(terminal.SetValue(3005, "0800"));
        QVERIFY(terminal.SetValue(16543, "6"));
        QVERIFY(terminal.SetValue(16212, "5551234"));

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QVERIFY(!harness.ControlsEnabled());
        QVERIFY(harness.Window().WaitDialog()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);

        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        QCOMPARE(harness.Window().WaitDialog()->StatusText(),
                 QStringLiteral("Read parameter success!"));
        const ParameterStore &store = harness.Window().Store();
        QCOMPARE(store[Slot::LongDistanceBlock], std::string("01"));
        QCOMPARE(store[Slot::RxVolume], std::string("6"));
        QCOMPARE(store.forbidden[4], std::string("0800"));
        QCOMPARE(store.callBack[0], std::string("5551234"));
        QVERIFY(harness.Forbids()->LongDistanceBox()->isChecked());
        const CVolumePage *volume = harness.PageAs<CVolumePage>(Page::Volume);
        QVERIFY(volume->RxBox()->isChecked());
        QCOMPARE(volume->RxField()->text(), QStringLiteral("6"));
        QCOMPARE(harness.Forbids()->List()->CellText(4, 1), QStringLiteral("0800"));
        QCOMPARE(harness.CallBack()->List()->CellText(0, 1), QStringLiteral("5551234"));
    }

    void transmitSendsWhatThePagesHold()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);

        harness.GeneralPassword()->setText(QStringLiteral("583916"));
        CVolumePage *volume = harness.PageAs<CVolumePage>(Page::Volume);
        QVERIFY(volume->TxBox()->isChecked()); // the terminal has a level
        volume->TxField()->setText(QStringLiteral("12"));
        harness.Forbids()->InternationalBox()->click();
        harness.CallBack()->SwitchBox()->click();
        harness.CallBack()->ListBox()->click(); // makes the 300 rows
        harness.CallBack()->List()->SetCellText(2, 1, QStringLiteral("0211"));
        harness.Boxes().Clear();

        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QVERIFY(!harness.ControlsEnabled());
        QVERIFY(harness.Window().WaitDialog()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(
            harness.ControlsEnabled() && !harness.Window().WaitDialog()->isVisible(), kJobWaitMs);

        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        QCOMPARE(harness.Window().WaitDialog()->StatusText(),
                 QStringLiteral("Save AT command success!"));
        sim::TerminalSimulator &terminal = harness.Terminal();
        QCOMPARE(terminal.Value(32).value_or("?"), std::string("583916"));
        QCOMPARE(terminal.Value(16544).value_or("?"), std::string("12"));
        QCOMPARE(terminal.Value(35).value_or("?"), std::string("01"));
        QCOMPARE(terminal.Value(16212).value_or("?"), std::string("0211")); // closed up
        QCOMPARE(harness.Window().Store()[Slot::TxVolume], std::string("12"));
    }

    void readFailureNamesTheParameterAndShowsItsPage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("refused");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("title");
        QTest::newRow("forbidden entry 0815")
            << int(lang::kEnglish) << 3005
            << "Error:Fail to read Please input a number in the position 0815!" << 133 << "Forbids";
        QTest::newRow("Spanish, volume")
            << int(lang::kSpanish) << 16543 << "Error:Error al leer Recepción!" << 184 << "Volumen";
    }

    void readFailureNamesTheParameterAndShowsItsPage()
    {
        QFETCH(int, language);
        QFETCH(int, refused);
        QFETCH(QString, message);
        QFETCH(int, page);
        QFETCH(QString, title);
        MainWindowHarness harness(
            SimOptionsWith([refused](sim::SimOptions &o) { o.faults.refuseReads = {refused}; }),
            language);
        QVERIFY(harness.TerminalReady());
        harness.FillForbiddenBefore(3005);
        QTest::mousePress(harness.Window().NavButton(10), Qt::LeftButton); // Call Back

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);

        QVERIFY2(harness.HasBox(message, 16), qPrintable(harness.BoxTexts()));
        QTRY_COMPARE(harness.Window().VisibleTemplate(), page);
        QCOMPARE(harness.Window().PageTitleText(), title);
        QCOMPARE(harness.Window().SelectedNavIndex(), PageIndexByTemplate(page));
        // What was read before the failure still reached the pages.
        QVERIFY(!harness.Forbids()->LongDistanceBox()->isChecked());
        QCOMPARE(harness.Window().Store()[Slot::LongDistanceBlock], std::string("00"));
    }

    void writeFailureOnTheGeneralPasswordShowsThePasswordsPage()
    {
        MainWindowHarness harness(
            SimOptionsWith([](sim::SimOptions &o) { o.faults.refuseWrites = {32}; }));
        QVERIFY(harness.TerminalReady());
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        QTest::mousePress(harness.Window().NavButton(9), Qt::LeftButton);

        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Boxes().Count() > 0 && harness.ControlsEnabled(),
                                 kJobWaitMs);

        QVERIFY2(harness.HasBox(QStringLiteral("Error: General Password invalid!"), 16),
                 qPrintable(harness.BoxTexts()));
        QTRY_COMPARE(harness.Window().VisibleTemplate(), 193);
        QCOMPARE(harness.Window().SelectedNavIndex(), 0);
        QVERIFY(!harness.Window().WaitDialog()->isVisible());
        QVERIFY(harness.ControlsEnabled());
        QCOMPARE(harness.Terminal().Value(32).value_or("?"), std::string("000000"));
    }

    void silentTerminalEndsInOvertime()
    {
        MainWindowHarness harness(SimOptionsWith(kSilent));
        QVERIFY(harness.TerminalReady());
        g_nJobTimeout = 1500;

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.HasBox(QStringLiteral("Error:Overtime!"), 16), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), 10000);
        QVERIFY(!harness.Serial().IsOpen());
        QVERIFY(!harness.Window().JobTimerActive());

        // The next operation runs normally again.
        harness.Terminal().SetFaults({});
        harness.Boxes().Clear();
        g_nJobTimeout = 30000;
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QCOMPARE(harness.Window().WaitDialog()->StatusText(),
                 QStringLiteral("Read parameter success!"));
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
    }

    // Closing during a Receive stops the read; the window goes once it has ended.
    void closingDuringAReceiveStopsItFirst()
    {
        MainWindowHarness harness(SimOptionsWith(kSilent));
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.Engine().JobRunning(), 10000);
        window.close();
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 20000);
        QVERIFY(!window.Engine().JobRunning());
        QVERIFY(!harness.Serial().IsOpen());
        QCOMPARE(harness.Boxes().Count(), 0);
    }

    void destroyedMidJobTheWindowStopsTheThreadsAndLetsThePortGo()
    {
        MainWindowHarness harness(SimOptionsWith(kSilent));
        QVERIFY(harness.TerminalReady());
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Window().Engine().JobRunning(), 10000);
        QVERIFY(harness.Serial().IsOpen());
        harness.DestroyWindow();
        QVERIFY(!harness.Serial().IsOpen());
        QVERIFY(!harness.Serial().Owner());
        QCOMPARE(harness.Boxes().Count(), 0);
    }

    void vanishedPortGivesTheCannotOpenMessage()
    {
        MainWindowHarness harness;
        harness.UnplugTerminal();
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QVERIFY2(harness.HasBox(QStringLiteral("can`t open port : SIM0 !"), 16),
                 qPrintable(harness.BoxTexts()));
        QVERIFY(harness.Idle());

        harness.Boxes().Clear();
        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QVERIFY2(harness.HasBox(QStringLiteral("can`t open port :  SIM0 !"), 16),
                 qPrintable(harness.BoxTexts()));
        QVERIFY(harness.Idle());
    }

    // kestrel-cli holds the port from its login to the end of its job: the
    // program does not slip in between, and says why.
    void aPortAnotherRunHoldsIsInUse()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        platform::PortLock otherRun;
        QCOMPARE(otherRun.Acquire(platform::DevicePathForPort("SIM0")),
                 platform::PortLock::Result::Held);
        harness.Terminal().ClearCommands();
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QVERIFY2(
            harness.HasBox(QStringLiteral("can`t open port : SIM0 !\n\n"
                                          "Error: The port SIM0 is in use by another program!"),
                           16),
            qPrintable(harness.BoxTexts()));
        QVERIFY(harness.Idle());
        QCOMPARE(harness.Terminal().CommandCount(), size_t(0));
    }
};

KESTREL_SHELL_TEST_MAIN(MainOperationsTest)
#include "main_operations_test.moc"
