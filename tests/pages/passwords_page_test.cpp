// The Passwords page: the general password's rules, the software password
// change's nine rules in order, nothing started without the switch, store
// and load.

#include "page_test_support.h"
#include "pages/page_factory.h"
#include "pages/passwords_page.h"
#include "params/read_lists.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

class PasswordsPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generalPasswordRules_data()
    {
        QTest::addColumn<QString>("general");
        QTest::addColumn<QString>("message"); // empty: passes
        QTest::newRow("empty") << ""
                               << "Please input the General Password.";
        QTest::newRow("7 digits") << "1234567"
                                  << "Error: The General Password no more than 6 characters!";
        QTest::newRow("1 digit") << "1" << QString();
        QTest::newRow("6 digits") << "123456" << QString();
    }

    void generalPasswordRules()
    {
        QFETCH(QString, general);
        QFETCH(QString, message);
        TestPageHost host;
        BoxRecorder recorder(host);
        CPasswordsPage page;
        QVERIFY(ShowActive(page, host));
        page.GeneralField()->setText(general);
        page.ChangeBox()->setFocus();
        VerifyRule(page, host, message, page.GeneralField());
    }

    void changeRulesInOrder_data()
    {
        QTest::addColumn<QStringList>("typed"); // old, new, confirm
        QTest::addColumn<QString>("message");   // empty: the change is started
        QTest::addColumn<int>("focus");         // 0 old, 1 new, 2 confirm
        const QString newLength =
            QStringLiteral("Error: The New Password must be between 4 and 12 characters!");
        // The login's password is "1234".
        QTest::newRow("1 old empty, the rest too")
            << QStringList{"", "", ""} << "Please input the Old Password." << 0;
        QTest::newRow("2 old of 13") << QStringList{"1234567890123", "5678", "5678"}
                                     << "Error: The Old Password no more than 12 characters!" << 0;
        QTest::newRow("3 old of 3") << QStringList{"123", "5678", "5678"}
                                    << "Error: The Old Password no less than 4 characters!" << 0;
        QTest::newRow("4 new empty")
            << QStringList{"1234", "", "5678"} << "Please input the New Password." << 1;
        QTest::newRow("5 confirm empty")
            << QStringList{"1234", "5678", ""} << "Please input the Confirm Password." << 2;
        QTest::newRow("6 differ, even with a wrong old one")
            << QStringList{"9999", "5678", "5679"}
            << "Error: Confirm Password isn`t same as New Password!" << 1;
        QTest::newRow("7 new of 13")
            << QStringList{"1234", "1234567890123", "1234567890123"} << newLength << 1;
        QTest::newRow("8 new of 3") << QStringList{"1234", "567", "567"} << newLength << 1;
        QTest::newRow("9 old is not the login's")
            << QStringList{"4321", "5678", "5678"} << "Error: Old Password invalid!" << 0;
        const QString control = QStringLiteral(
            "Error: The New Password must not contain control characters or double quotes!");
        QTest::newRow("10 new with a quote")
            << QStringList{"1234", "56\"78", "56\"78"} << control << 1;
        QTest::newRow("10 new with a line end")
            << QStringList{"1234", "5678\r", "5678\r"} << control << 1;
        QTest::newRow("started with 12 digits")
            << QStringList{"1234", "123456789012", "123456789012"} << QString() << 0;
        QTest::newRow("started with 4 digits")
            << QStringList{"1234", "5678", "5678"} << QString() << 0;
    }

    void changeRulesInOrder()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(int, focus);
        TestPageHost host; // the login's password is "1234"
        BoxRecorder recorder(host);
        CPasswordsPage page;
        QVERIFY(ShowActive(page, host));
        page.ChangeBox()->click();
        const QList<QLineEdit *> fields{page.OldField(), page.NewField(), page.ConfirmField()};
        for (int i = 0; i < 3; ++i)
            fields[i]->setText(typed[i]);
        page.ChangeBox()->setFocus();
        const auto confirm = [&] {
            QTest::mouseClick(page.ConfirmButton(), Qt::LeftButton);
            return !host.changedPassword.empty();
        };
        VerifyRule(page, confirm, host, message, fields[focus]);
        // A passing change is handed to the host, which starts it.
        if (message.isEmpty())
            QCOMPARE(host.changedPassword,
                     (std::vector<std::string>{typed[1].toStdString(), typed[2].toStdString()}));
    }

    void withoutTheSwitchTheButtonStartsNothing()
    {
        TestPageHost host;
        CPasswordsPage page;
        page.InitPage(host);
        // Without the switch the button starts nothing.
        page.OldField()->setText(QStringLiteral("1234"));
        page.NewField()->setText(QStringLiteral("5678"));
        page.ConfirmField()->setText(QStringLiteral("5678"));
        QVERIFY(!page.ChangeSoftwarePassword());
        QVERIFY(host.changedPassword.empty());
    }

    void storeAndLoadTheGeneralPassword()
    {
        TestPageHost host;
        host.store[Slot::GeneralPassword] = "135790";
        CPasswordsPage page;
        page.InitPage(host);
        page.LoadFromStore();
        QCOMPARE(page.GeneralField()->text(), QStringLiteral("135790"));
        QCOMPARE(page.GeneralField()->echoMode(), QLineEdit::Password);
        page.GeneralField()->setText(QStringLiteral("24"));
        page.SaveToStore();
        QCOMPARE(host.store[Slot::GeneralPassword], std::string("24"));
        // Never read from the terminal.
        ReadLists lists;
        page.AppendReadItems(lists);
        QVERIFY(lists.numbers.empty() && lists.AtQueryCount() == 0);
        QVERIFY(dynamic_cast<CPasswordsPage *>(CreateParameterPage(193).get()));
    }
};

KESTREL_QT_TEST(PasswordsPageTest)
#include "passwords_page_test.moc"
