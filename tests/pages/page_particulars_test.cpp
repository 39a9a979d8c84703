// What a single page does beyond the page scripts: the software password
// change handed to the host, the ";" after each typed pre-number, what a
// passing PIN change stores, the clock filled from the local date and
// time, the focus a Volume load leaves alone behind another page.

#include "page_test_support.h"
#include "pages/passwords_page.h"
#include "pages/prefix_page.h"
#include "pages/security_code_page.h"
#include "pages/times_page.h"
#include "pages/volume_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

class PageParticularsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aChangeIsHandedToTheHostOnlyWithTheSwitchOn()
    {
        TestPageHost host;
        CPasswordsPage page;
        page.InitPage(host);
        page.OldField()->setText(QStringLiteral("1234"));
        page.NewField()->setText(QStringLiteral("5678"));
        page.ConfirmField()->setText(QStringLiteral("5678"));
        QVERIFY(!page.ChangeSoftwarePassword());
        QVERIFY(host.changedPassword.empty());
        page.ChangeBox()->click();
        page.ChangeSoftwarePassword();
        QCOMPARE(host.changedPassword, (std::vector<std::string>{"5678", "5678"}));
        QCOMPARE(page.GeneralField()->echoMode(), QLineEdit::Password);
    }

    void typedPreNumbersGetTheirSeparators()
    {
        TestPageHost host;
        CPrefixPage page;
        QVERIFY(ShowActive(page, host));
        page.SwitchBox()->click();
        QLineEdit *field = page.PreNumberField();
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("123"));
        QCOMPARE(field->text(), QStringLiteral("1;2;3;"));
        QCOMPARE(field->cursorPosition(), 6);
        QTest::keyClicks(field, QStringLiteral("a;")); // refused: digits only
        QCOMPARE(field->text(), QStringLiteral("1;2;3;"));
        page.SaveToStore();
        QCOMPARE(host.store[Slot::PreNumbers], std::string("123"));

        // Deleting leaves the rest as it is; the next digit gets its separator.
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), QStringLiteral("1;2;3"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QStringLiteral("5"));
        QCOMPARE(field->text(), QStringLiteral("1;2;5;"));
        // Typed in the middle, the caret still ends at the end.
        field->setCursorPosition(2);
        QTest::keyClicks(field, QStringLiteral("9"));
        QCOMPARE(field->text(), QStringLiteral("1;92;5;"));
        QCOMPARE(field->cursorPosition(), 7);
        page.SaveToStore();
        QCOMPARE(host.store[Slot::PreNumbers], std::string("1925"));
    }

    void aPassingChangeStoresTheChangeEntries()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        CSecurityCodePage page;
        page.InitPage(host);
        host.store.pinWriteMode = 1;
        page.OldPinField()->setText(QStringLiteral("4711"));
        page.NewPinField()->setText(QStringLiteral("12345678"));
        page.ConfirmPinField()->setText(QStringLiteral("12345678"));
        QVERIFY(!page.ChangePin()); // not without the switch
        QCOMPARE(host.pinChanges, 0);
        page.ChangeBox()->click();

        // Asked of the host, whose port does not open, so no job starts.
        QVERIFY(!page.ChangePin());
        QCOMPARE(host.pinChanges, 1);
        QVERIFY(recorder.boxes.isEmpty());
        QCOMPARE(host.store[Slot::ChangePin], std::string("01"));
        QCOMPARE(host.store.pinWriteMode, 2);
        QCOMPARE(host.store[Slot::OldPin] + "|" + host.store[Slot::NewPin] + "|" +
                     host.store[Slot::ConfirmPin],
                 std::string("4711|12345678|12345678"));
    }

    void checkingTheClockFillsTheLocalDateAndTime()
    {
        const std::tuple<QDateTime, QString, QString> rows[] = {
            {QDateTime(QDate(2011, 4, 5), QTime(9, 30, 59)), "050411", "0930"},
            {QDateTime(QDate(2099, 12, 31), QTime(23, 59)), "311299", "2359"},
            {QDateTime(QDate(2000, 1, 1), QTime(0, 0)), "010100", "0000"},
        };
        for (const auto &[now, date, time] : rows) {
            TestPageHost host;
            CTimesPage page;
            page.SetClock([now] { return now; });
            QVERIFY(ShowActive(page, host));
            page.ClockBox()->click();
            QCOMPARE(page.DateField()->text() + " " + page.TimeField()->text(), date + " " + time);
            QVERIFY(page.DateField()->isEnabled() && page.TimeField()->isEnabled());
            QTRY_VERIFY(page.DateField()->hasFocus());
            QVERIFY(page.ValidatePage());

            // Unchecked, the fields keep the clock but nothing of it is stored.
            page.ClockBox()->click();
            QCOMPARE(page.DateField()->text(), date);
            QVERIFY(!page.DateField()->isEnabled());
            page.SaveToStore();
            QCOMPARE(host.store[Slot::Date] + host.store[Slot::Time], std::string());
        }
    }

    void aLoadBehindAnotherPageLeavesTheFocusAlone()
    {
        TestPageHost host;
        QWidget window;
        auto *visible = new QLineEdit(&window);
        auto *page = new CVolumePage(&window);
        page->InitPage(host);
        page->hide();
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        visible->setFocus();
        QTRY_VERIFY(visible->hasFocus());
        host.store[Slot::TxVolume] = "12";
        host.store[Slot::RxVolume] = "3";
        page->LoadFromStore();
        QVERIFY(visible->hasFocus());
        QCOMPARE(page->RxField()->text(), QStringLiteral("3"));
    }
};

KESTREL_QT_TEST(PageParticularsTest)
#include "page_particulars_test.moc"
