// The Passwords page: a change handed to the host only with the switch on,
// store and load.

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
