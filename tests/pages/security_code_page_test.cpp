// The Security code page: the PIN code check of a Transmit, the seven rules
// of a PIN change with their message before the page and the field, what a
// passing change stores, store and load.

#include "page_test_support.h"
#include "pages/security_code_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

namespace {

enum Field { kOld, kNew, kConfirm };

} // namespace

class SecurityCodePageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pinCodeCheck_data()
    {
        QTest::addColumn<bool>("startUp");
        QTest::addColumn<QString>("pin"); // null: as the page starts
        QTest::addColumn<bool>("passes");
        QTest::newRow("initial 4711") << false << QString() << true;
        QTest::newRow("empty") << false << "" << false;
        QTest::newRow("3 digits, start-up off") << false << "123" << false;
        QTest::newRow("3 digits, start-up on") << true << "123" << false;
        QTest::newRow("9 digits") << true << "123456789" << false;
        QTest::newRow("4 digits") << true << "0000" << true;
        QTest::newRow("8 digits") << false << "12345678" << true;
    }

    void pinCodeCheck()
    {
        QFETCH(bool, startUp);
        QFETCH(QString, pin);
        QFETCH(bool, passes);
        TestPageHost host;
        BoxRecorder recorder(host);
        CSecurityCodePage page;
        QVERIFY(ShowActive(page, host));
        QCOMPARE(page.PinField()->text(), QStringLiteral("4711"));
        if (startUp)
            page.StartUpBox()->click();
        if (!pin.isNull())
            page.PinField()->setText(pin);
        // The page and the field first, then the message; the field takes
        // the focus only while the PIN is asked at start-up (else disabled).
        VerifyRule(page, host,
                   passes
                       ? QString()
                       : QStringLiteral("Error: The PIN Code must be between 4 and 8 characters!"),
                   page.PinField(), Told::PageFirst);
        QCOMPARE(page.PinField()->isEnabled(), startUp);
    }

    void pinChangeRulesInOrder_data()
    {
        QTest::addColumn<QStringList>("pins"); // old, new, confirm
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        const QString onlyNumbers =
            QStringLiteral("Error: Only numbers (0,1,2,...,9) are allowed in the PIN Code!");
        const QString tooShort = QStringLiteral("Error: The PIN Code no less than 4 characters!");
        const QString notSame =
            QStringLiteral("Error: Confirm PIN Code isn`t same as New PIN Code!");
        // Every later field is wrong too: the first failure alone is told.
        QTest::newRow("1 old empty") << QStringList{"", "12", "9"} << onlyNumbers << int(kOld);
        QTest::newRow("1 old with a letter")
            << QStringList{"12a45", "", ""} << onlyNumbers << int(kOld);
        QTest::newRow("2 old of 3 digits")
            << QStringList{"123", "12", "9"} << tooShort << int(kOld);
        QTest::newRow("4 new empty") << QStringList{"1234", "", ""} << onlyNumbers << int(kNew);
        QTest::newRow("4 new with a blank")
            << QStringList{"12345678", "12 45", "12 45"} << onlyNumbers << int(kNew);
        QTest::newRow("5 new of 3 digits")
            << QStringList{"1234", "567", "567"} << tooShort << int(kNew);
        QTest::newRow("7 confirm differs")
            << QStringList{"1234", "5678", "5679"} << notSame << int(kConfirm);
        QTest::newRow("7 confirm longer")
            << QStringList{"1234", "5678", "56780"} << notSame << int(kConfirm);
        QTest::newRow("7 confirm empty")
            << QStringList{"1234", "5678", ""} << notSame << int(kConfirm);
    }

    void pinChangeRulesInOrder()
    {
        QFETCH(QStringList, pins);
        QFETCH(QString, message);
        QFETCH(int, field);
        TestPageHost host;
        BoxRecorder recorder(host);
        CSecurityCodePage page;
        QVERIFY(ShowActive(page, host));
        page.ChangeBox()->click();
        QLineEdit *fields[] = {page.OldPinField(), page.NewPinField(), page.ConfirmPinField()};
        for (int i = 0; i < 3; ++i)
            fields[i]->setText(pins[i]);
        const ParameterStore before = host.store;
        const auto confirm = [&] {
            page.ConfirmButton()->click();
            return host.pinChanges > 0;
        };
        // The message first, then the page and the field.
        VerifyRule(page, confirm, host, message, fields[field]);
        QVERIFY(host.store == before);
    }

    void aPassingChangeStoresTheChangeEntries_data()
    {
        QTest::addColumn<QString>("oldPin");
        QTest::addColumn<QString>("newPin");
        QTest::newRow("4 digits") << "4711"
                                  << "1234";
        QTest::newRow("8 digits") << "12345678"
                                  << "87654321";
    }

    void aPassingChangeStoresTheChangeEntries()
    {
        QFETCH(QString, oldPin);
        QFETCH(QString, newPin);
        TestPageHost host;
        BoxRecorder recorder(host);
        CSecurityCodePage page;
        page.InitPage(host);
        host.store.pinWriteMode = 1;
        page.ChangeBox()->click();
        page.OldPinField()->setText(oldPin);
        page.NewPinField()->setText(newPin);
        page.ConfirmPinField()->setText(newPin);

        // Asked of the host, whose port does not open, so no job starts.
        QVERIFY(!page.ChangePin());
        QCOMPARE(host.pinChanges, 1);
        QVERIFY(recorder.boxes.isEmpty());
        QCOMPARE(host.store[Slot::ChangePin], std::string("01"));
        QCOMPARE(host.store.pinWriteMode, 2);
        QCOMPARE(QString::fromStdString(host.store[Slot::OldPin]), oldPin);
        QCOMPARE(QString::fromStdString(host.store[Slot::NewPin]), newPin);
        QCOMPARE(QString::fromStdString(host.store[Slot::ConfirmPin]), newPin);
    }

    void storeAndLoad_data()
    {
        QTest::addColumn<QString>("startUp"); // slot 16550 as read
        QTest::addColumn<QString>("shown");   // the box and the PIN it gates
        QTest::addColumn<QString>("stored");
        QTest::newRow("0 unchecks") << "0"
                                    << "-(98765)"
                                    << "00";
        QTest::newRow("00 unchecks") << "00"
                                     << "-(98765)"
                                     << "00";
        QTest::newRow("01 checks") << "01"
                                   << "98765"
                                   << "01";
        QTest::newRow("1 checks") << "1"
                                  << "98765"
                                  << "01";
        QTest::newRow("empty unchecks") << ""
                                        << "-(98765)"
                                        << "00";
    }

    void storeAndLoad()
    {
        QFETCH(QString, startUp);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        TestPageHost host;
        CSecurityCodePage page;
        page.InitPage(host);
        // Checked before, so that a load that unchecks shows; the PIN text
        // keeps what it held.
        page.StartUpBox()->click();
        page.PinField()->setText(QStringLiteral("98765"));
        VerifyLoadAndStore(page, host, {Slot::PinStartUp, Slot::PinCode}, {startUp, "1111"},
                           [&page] { return GatedText(page.StartUpBox(), page.PinField()); }, shown,
                           {stored, "98765"});
        QCOMPARE(host.store.pinWriteMode, 1);
    }
};

KESTREL_QT_TEST(SecurityCodePageTest)
#include "security_code_page_test.moc"
