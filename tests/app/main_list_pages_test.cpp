// The Passwords, Forbids and Call back pages in the main window against
// the simulated terminal, which answers unused list entries with the blank
// record "0*0*0*0": a Receive fills both lists and sends back what it read,
// an emptied row loses no number behind it, an edited call back row
// changes that number alone, and the software password change takes effect
// on the terminal.

#include "engine/job_reports.h"
#include "main_window_harness.h"

#include <QCheckBox>
#include <QLineEdit>

using main_texts::BottomButton;
using params::Page;

namespace {

constexpr int kFirstCallBack = 16212;
constexpr int kLastCallBack = 16511;

std::vector<std::string> CallBackNumbers(sim::TerminalSimulator &terminal)
{
    std::vector<std::string> numbers;
    for (int number = kFirstCallBack; number <= kLastCallBack; ++number)
        numbers.push_back(terminal.Value(number).value_or("?"));
    return numbers;
}

QStringList FirstNumbers(const CReportCtrl *list)
{
    return {list->CellText(0, 1), list->CellText(1, 1), list->CellText(2, 1)};
}

bool Transmit(MainWindowHarness &harness)
{
    QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
    return QTest::qWaitFor(
        [&] { return harness.ControlsEnabled() && !harness.Window().WaitDialog()->isVisible(); },
        kJobWaitMs);
}

} // namespace

class MainListPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The read stops each list at the terminal's first blank record and
    // keeps that record as it came; the pages show and send it as nothing,
    // so what was read goes back without a refusal.
    void receiveFillsBothListsAndTransmitsThemUntouched()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        const std::pair<int, const char *> values[] = {
            {3000, "01"},  {3001, "0800"},     {3002, "12345"},   {16517, "01"},
            {16545, "05"}, {16212, "5551234"}, {16213, "5559876"}};
        for (const auto &[number, value] : values)
            QVERIFY(terminal.SetValue(number, value));

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        const ParameterStore &store = harness.Window().Store();
        QCOMPARE(store.forbidden[2], std::string("0*0*0*0"));
        QCOMPARE(store.callBack[2], std::string("0*0*0*0"));

        CForbidsPage *forbids = harness.Forbids();
        QVERIFY(forbids->ListBox()->isChecked());
        QCOMPARE(forbids->List()->RowCount(), 20);
        QCOMPARE(forbids->List()->CellText(0, 1), QStringLiteral("0800"));
        QCOMPARE(forbids->List()->CellText(1, 1), QStringLiteral("12345"));
        QCOMPARE(forbids->List()->CellText(2, 1), QString());
        CCallBackPage *callBack = harness.CallBack();
        QVERIFY(callBack->SwitchBox()->isChecked() && callBack->ListBox()->isChecked());
        QCOMPARE(callBack->AnswerField()->text(), QStringLiteral("5"));
        QCOMPARE(callBack->List()->RowCount(), 300);
        QCOMPARE(callBack->List()->CellText(1, 1), QStringLiteral("5559876"));
        QCOMPARE(callBack->List()->CellText(2, 1), QString());

        // The general password is never read: the one thing to type.
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        terminal.ClearCommands();
        QVERIFY(Transmit(harness));
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        QCOMPARE(harness.Window().WaitDialog()->StatusText(),
                 QStringLiteral("Save AT command success!"));
        for (const auto &[number, value] : values) {
            const std::string expected = number == 16545 ? "5" : value;
            QCOMPARE(terminal.Value(number).value_or("?"), expected);
        }
        for (const std::string &command : terminal.Commands())
            QVERIFY2(command.find("0*0") == std::string::npos, command.c_str());
    }

    // The read ends a list at its first empty entry: a row emptied between
    // two numbers is closed up when stored, so the next Receive still
    // reads the number behind it.
    void anEmptiedMiddleRowLosesNoNumber()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        const std::pair<int, const char *> values[] = {
            {3000, "01"},  {3001, "811"},   {3002, "812"},   {3003, "813"},
            {16517, "01"}, {16212, "1507"}, {16213, "1508"}, {16214, "1509"}};
        for (const auto &[number, value] : values)
            QVERIFY(terminal.SetValue(number, value));
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        CReportCtrl *lists[] = {harness.Forbids()->List(), harness.CallBack()->List()};
        for (CReportCtrl *list : lists)
            list->SetCellText(1, 1, QString());
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        QVERIFY(Transmit(harness));
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        QCOMPARE(FirstNumbers(lists[0]), (QStringList{"811", "813", ""}));
        QCOMPARE(FirstNumbers(lists[1]), (QStringList{"1507", "1509", ""}));
        QCOMPARE(terminal.Value(3002).value_or("?"), std::string("813"));
        QCOMPARE(terminal.Value(16213).value_or("?"), std::string("1509"));

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QCOMPARE(FirstNumbers(lists[0]), (QStringList{"811", "813", ""}));
        QCOMPARE(FirstNumbers(lists[1]), (QStringList{"1507", "1509", ""}));
    }

    void anEditedCallBackRowChangesThatNumberAlone()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        QVERIFY(terminal.SetValue(16517, "01"));
        for (int number = kFirstCallBack; number < kFirstCallBack + 8; ++number)
            QVERIFY(terminal.SetValue(number, std::to_string(5550000 + number)));
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        std::vector<std::string> expected = CallBackNumbers(terminal);

        // Row 5 (position 1511, parameter 16216) typed over in place.
        QTest::mousePress(harness.Window().NavButton(10), Qt::LeftButton);
        CReportCtrl *list = harness.CallBack()->List();
        list->SelectRow(4);
        list->setFocus();
        QTest::keyClick(list, '0'); // opens the editor
        QVERIFY(list->InPlaceEditor());
        QTest::keyClicks(list->InPlaceEditor(), QStringLiteral("211"));
        QTest::keyClick(list->InPlaceEditor(), Qt::Key_Return);
        QCOMPARE(list->CellText(4, 1), QStringLiteral("0211"));
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        QVERIFY(Transmit(harness));
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));

        expected[16216 - kFirstCallBack] = "0211";
        QCOMPARE(CallBackNumbers(terminal), expected);
    }

    void theSoftwarePasswordChangeTakesEffect()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        CPasswordsPage *page = harness.PageAs<CPasswordsPage>(Page::Passwords);
        page->ChangeBox()->click();
        QTest::keyClicks(page->OldField(), QStringLiteral("1234"));
        QTest::keyClicks(page->NewField(), QStringLiteral("97531"));
        QTest::keyClicks(page->ConfirmField(), QStringLiteral("97531"));
        QTest::mouseClick(page->ConfirmButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Boxes().Count() > 0 && harness.Idle(), kJobWaitMs);
        QVERIFY2(
            harness.HasBox(QStringLiteral("Successfully changed password!"),
                           platform::kStyleInformation),
            qPrintable(harness.BoxTexts()));
        QCOMPARE(harness.Terminal().Password(), std::string("97531"));
        QCOMPARE(g_strSoftwarePassword, std::string("97531"));

        // The next write transaction opens with the new password.
        harness.Boxes().Clear();
        page->ChangeBox()->click();
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        harness.Terminal().ClearCommands();
        QVERIFY(Transmit(harness));
        // Only the question over pages no Receive has filled, answered Yes.
        QVERIFY2(harness.Boxes().Count() == 1 && harness.Boxes().Messages().front().style == 68,
                 qPrintable(harness.BoxTexts()));
        QCOMPARE(harness.Terminal().Commands().front(), std::string("AT+WPAR=9996,\"97531\""));
        QCOMPARE(harness.Terminal().Value(32).value_or("?"), std::string("123456"));
    }

    void aPortThatCannotBeOpenedIsNamed_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << int(lang::kEnglish)
                                 << QStringLiteral("Error: Can`t open Port:  SIM0 !");
        QTest::newRow("Portuguese") << int(lang::kPortuguese)
                                    << QString::fromUtf8("Erro: Impossível abrir porta :  SIM0 !");
        QTest::newRow("Spanish") << int(lang::kSpanish)
                                 << QStringLiteral("Error: No se puede abrir puerto :  SIM0 !");
    }

    void aPortThatCannotBeOpenedIsNamed()
    {
        QFETCH(int, language);
        QFETCH(QString, message);
        MainWindowHarness harness({}, language);
        harness.UnplugTerminal();
        CPasswordsPage *page = harness.PageAs<CPasswordsPage>(Page::Passwords);
        page->ChangeBox()->click();
        page->OldField()->setText(QStringLiteral("1234"));
        page->NewField()->setText(QStringLiteral("5678"));
        page->ConfirmField()->setText(QStringLiteral("5678"));
        QTest::mouseClick(page->ConfirmButton(), Qt::LeftButton);
        QVERIFY2(harness.HasBox(message, 16), qPrintable(harness.BoxTexts()));
        QVERIFY(harness.Idle());
        QCOMPARE(g_strSoftwarePassword, std::string("1234"));
    }
};

KESTREL_SHELL_TEST_MAIN(MainListPagesTest)
#include "main_list_pages_test.moc"
