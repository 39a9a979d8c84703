// The Security code page: what a passing PIN change stores, store and load.

#include "page_test_support.h"
#include "pages/security_code_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

class SecurityCodePageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
