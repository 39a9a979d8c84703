// The Prefix, CSP, Restricted ID, Polarity Inversion and Volume pages in the
// main window against the simulated terminal: the first refusing page in
// page order stops a Transmit, and a Receive and Transmit carry their values.

#include "main_window_harness.h"
#include "widgets/status_line.h"
#include "pages/csp_page.h"
#include "pages/polarity_page.h"
#include "pages/prefix_page.h"
#include "pages/restricted_id_page.h"
#include "pages/volume_page.h"

#include <QCheckBox>

using main_texts::BottomButton;
using params::Page;

class MainSimplePagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transmitReportsOnlyTheFirstRefusingPage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << int(lang::kEnglish)
                                 << "Error: The Prefix no more than 16 characters!";
        QTest::newRow("Portuguese")
            << int(lang::kPortuguese)
            << QString::fromUtf8("Erro: O prefixo não pode ter mais de 16 caracteres!");
        QTest::newRow("Spanish") << int(lang::kSpanish)
                                 << QString::fromUtf8(
                                        "Error: El prefijo no puede tener más de 16 caracteres!");
    }

    void transmitReportsOnlyTheFirstRefusingPage()
    {
        QFETCH(int, language);
        QFETCH(QString, message);
        MainWindowHarness harness({}, language);
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        CPrefixPage *prefix = harness.PageAs<CPrefixPage>(Page::Prefix);
        CVolumePage *volume = harness.PageAs<CVolumePage>(Page::Volume);
        QVERIFY(prefix && volume);
        prefix->SwitchBox()->click();
        prefix->PrefixField()->setText(QStringLiteral("12345678901234567"));
        volume->TxBox()->click();
        volume->TxField()->setText(QStringLiteral("7"));
        QTest::mousePress(window.NavButton(10), Qt::LeftButton); // Call Back
        const size_t commandsBefore = harness.Terminal().CommandCount();

        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);

        // The question over pages nothing has filled (answered Yes), then the page's message.
        QCOMPARE(harness.Boxes().Count(), 2);
        QCOMPARE(harness.Boxes().Messages().front().style,
                 platform::kStyleYesNo | platform::kStyleQuestion);
        QCOMPARE(harness.Boxes().LastText(), message);
        QCOMPARE(harness.Boxes().LastStyle(), 16);
        QVERIFY(window.StatusLine()->Failed());
        QVERIFY2(window.StatusLine()->FullText().contains(
                     QLatin1Char('"') + window.PageTitle(186) + QLatin1Char('"')),
                 qPrintable(window.StatusLine()->FullText())); // the refusing page is named
        QCOMPARE(window.VisibleTemplate(), 186);
        // The highlight follows the page to the front.
        QCOMPARE(window.SelectedNavIndex(), 2);
        QVERIFY(window.NavButton(2)->IsSelected() && !window.NavButton(10)->IsSelected());
        QTRY_VERIFY(prefix->PrefixField()->hasFocus());
        QVERIFY(harness.ControlsEnabled());
        QVERIFY(!window.Engine().JobRunning());
        QCOMPARE(harness.Terminal().CommandCount(), commandsBefore);
    }

    void receiveAndTransmitCarryThePagesValues()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        sim::TerminalSimulator &terminal = harness.Terminal();
        const std::pair<int, const char *> read[] = {{1001, "01"},  {34, "123"},   {1000, "0021"},
                                                     {16541, "2"},  {16542, "21"}, {16546, "01"},
                                                     {16001, "01"}, {16544, ""},   {16543, "3"}};
        for (const auto &[number, value] : read)
            QVERIFY(terminal.SetValue(number, value));

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));

        CPrefixPage *prefix = harness.PageAs<CPrefixPage>(Page::Prefix);
        CCspPage *csp = harness.PageAs<CCspPage>(Page::Csp);
        CSwitchPage *restricted = harness.PageAs<CRestrictedIdPage>(Page::RestrictedId);
        CSwitchPage *polarity = harness.PageAs<CPolarityPage>(Page::Polarity);
        CVolumePage *volume = harness.PageAs<CVolumePage>(Page::Volume);
        QVERIFY(prefix->SwitchBox()->isChecked());
        QCOMPARE(prefix->PreNumberField()->text(), QStringLiteral("1;2;3;"));
        QCOMPARE(prefix->PrefixField()->text(), QStringLiteral("0021"));
        QVERIFY(csp->AllCallsBox()->isChecked() && !csp->CallBackBox()->isChecked());
        QVERIFY(csp->NumberField()->isEnabled());
        QCOMPARE(csp->NumberField()->text(), QStringLiteral("21"));
        QVERIFY(restricted->SwitchBox()->isChecked());
        QVERIFY(polarity->SwitchBox()->isChecked());
        QVERIFY(!volume->TxBox()->isChecked());
        QVERIFY(volume->RxBox()->isChecked());
        QCOMPARE(volume->RxField()->text(), QStringLiteral("3"));

        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        QTest::keyClicks(prefix->PreNumberField(), QStringLiteral("4"));
        csp->CallBackBox()->click();
        polarity->SwitchBox()->click();
        volume->TxBox()->click();
        QTest::keyClicks(volume->TxField(), QStringLiteral("07"));
        terminal.ClearCommands();

        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(
            harness.ControlsEnabled() && !harness.Window().WaitDialog()->isVisible(), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));

        const std::pair<int, const char *> written[] = {
            {1001, "01"},  {33, "01"},   {34, "1234"},  {1000, "0021"}, {16541, "1"},
            {16542, "21"}, {16546, "1"}, {16001, "00"}, {16544, "07"},  {16543, "3"}};
        for (const auto &[number, value] : written)
            QCOMPARE(terminal.Value(number).value_or("?"), std::string(value));
        const std::vector<std::string> commands = terminal.Commands();
        QVERIFY(std::find(commands.begin(), commands.end(), "AT+WPAR=16546,\"1\"") !=
                commands.end());
    }
};

QTEST_MAIN(MainSimplePagesTest)
#include "main_simple_pages_test.moc"
