// The Passwords page: the general password's rules (skipped once for
// Save), the software password change's nine rules in order, the switch
// between the two passwords, store and load, texts and accessible names.

#include "page_test_support.h"
#include "pages/page_factory.h"
#include "pages/passwords_page.h"
#include "params/read_lists.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

class PasswordsPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generalPasswordRules_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("general");
        QTest::addColumn<QString>("message"); // empty: passes
        const char *const kEmpty[3] = {"Please input the General Password.",
                                       "Por favor, insira a senha geral.",
                                       "Por favor introduzca la general contraseña."};
        const char *const kLong[3] = {
            "Error: The General Password no more than 6 characters!",
            "Erro: A senha geral não pode ter mais de 6 caracteres!",
            "Error: La general contraseña no puede tener más de 6 caracteres!"};
        for (const LanguageRow &language : kLanguages) {
            const int i = language.code - 1;
            QTest::addRow("empty, %s", language.name)
                << language.code << "" << QString::fromUtf8(kEmpty[i]);
            QTest::addRow("7 digits, %s", language.name)
                << language.code << "1234567" << QString::fromUtf8(kLong[i]);
            QTest::addRow("1 digit, %s", language.name) << language.code << "1" << QString();
            QTest::addRow("6 digits, %s", language.name) << language.code << "123456" << QString();
        }
    }

    void generalPasswordRules()
    {
        QFETCH(int, language);
        QFETCH(QString, general);
        QFETCH(QString, message);
        LanguageScope scope(language);
        TestPageHost host;
        BoxRecorder recorder(host);
        CPasswordsPage page;
        QVERIFY(ShowActive(page, host));
        page.GeneralField()->setText(general);
        page.ChangeBox()->setFocus();
        if (message.isEmpty()) {
            QVERIFY(page.ValidatePage());
            QVERIFY(host.events.isEmpty());
            return;
        }
        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.events, (QStringList{"box " + message, "show 193"}));
        QTRY_VERIFY(page.GeneralField()->hasFocus());
        QCOMPARE(page.GeneralField()->selectedText(), general);
    }

    void saveSkipsTheGeneralPasswordOnce()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        CPasswordsPage page;
        page.InitPage(host);
        host.saveToFile = true;
        QVERIFY(page.ValidatePage());
        QVERIFY(!host.saveToFile);
        QVERIFY(host.events.isEmpty());
        // The next Transmit checks it again.
        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.events, (QStringList{"box Please input the General Password.", "show 193"}));
    }

    void changeRulesInOrder_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("typed"); // old, new, confirm
        QTest::addColumn<QString>("message");   // empty: the change is started
        QTest::addColumn<int>("focus");         // 0 old, 1 new, 2 confirm
        const char *const kMessages[10][3] = {
            {"Please input the Old Password.", "Por favor, insira a senha atual.",
             "Por favor introduzca la contraseña actual."},
            {"Error: The Old Password no more than 12 characters!",
             "Erro: A senha atual não pode ter mais de 12 caracteres!",
             "Error: La contraseña actual no puede tener más de 12 caracteres!"},
            {"Error: The Old Password no less than 4 characters!",
             "Erro: A senha atual não pode ter menos de 4 caracteres!",
             "Error: La contraseña actual no puede tener menos de 4 caracteres!"},
            {"Please input the New Password.", "Por favor, insira a nova senha.",
             "Por favor introduzca la nueva contraseña."},
            {"Please input the Confirm Password.", "Por favor, repita a nova senha.",
             "Por favor repita la nueva contraseña."},
            {"Error: Confirm Password isn`t same as New Password!", "Erro: Senhas diferentes!",
             "Error: Las contraseñas diferentes!"},
            {"Error: The New Password must be between 4 and 12 characters!",
             "Erro: A nova senha deve ter entre 4 e 12 caracteres!",
             "Error: La nueva contraseña debe tener entre 4 y 12 caracteres!"},
            {"Error: The New Password must be between 4 and 12 characters!",
             "Erro: A nova senha deve ter entre 4 e 12 caracteres!",
             "Error: La nueva contraseña debe tener entre 4 y 12 caracteres!"},
            {"Error: Old Password invalid!", "Erro: Senha atual inválida!",
             "Error: La contraseña actual no es válido!"},
            {"Error: The New Password must not contain control characters or double quotes!",
             "Erro: A nova senha não pode conter caracteres de controle nem aspas duplas!",
             "Error: La nueva contraseña no puede contener caracteres de control ni comillas "
             "dobles!"},
        };
        struct Case
        {
            const char *name;
            QStringList typed;
            int rule; // 1..10, 0 started
            int focus;
        };
        // The login's password is "1234".
        const Case cases[] = {
            {"1 old empty, the rest too", {"", "", ""}, 1, 0},
            {"2 old of 13", {"1234567890123", "5678", "5678"}, 2, 0},
            {"3 old of 3", {"123", "5678", "5678"}, 3, 0},
            {"4 new empty", {"1234", "", "5678"}, 4, 1},
            {"5 confirm empty", {"1234", "5678", ""}, 5, 2},
            {"6 differ, even with a wrong old one", {"9999", "5678", "5679"}, 6, 1},
            {"7 new of 13", {"1234", "1234567890123", "1234567890123"}, 7, 1},
            {"8 new of 3", {"1234", "567", "567"}, 8, 1},
            {"9 old is not the login's", {"4321", "5678", "5678"}, 9, 0},
            {"10 new with a quote", {"1234", "56\"78", "56\"78"}, 10, 1},
            {"10 new with a line end", {"1234", "5678\r", "5678\r"}, 10, 1},
            {"started with 12 digits", {"1234", "123456789012", "123456789012"}, 0, 0},
            {"started with 4 digits", {"1234", "5678", "5678"}, 0, 0},
        };
        for (const Case &c : cases) {
            for (const LanguageRow &language : kLanguages) {
                QTest::addRow("%s, %s", c.name, language.name)
                    << language.code << c.typed
                    << (c.rule ? QString::fromUtf8(kMessages[c.rule - 1][language.code - 1])
                               : QString())
                    << c.focus;
            }
        }
    }

    void changeRulesInOrder()
    {
        QFETCH(int, language);
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(int, focus);
        LanguageScope scope(language);
        TestPageHost host; // the login's password is "1234"
        BoxRecorder recorder(host);
        CPasswordsPage page;
        QVERIFY(ShowActive(page, host));
        page.ChangeBox()->click();
        const QList<QLineEdit *> fields{page.OldField(), page.NewField(), page.ConfirmField()};
        for (int i = 0; i < 3; ++i)
            fields[i]->setText(typed[i]);
        page.ChangeBox()->setFocus();

        QTest::mouseClick(page.ConfirmButton(), Qt::LeftButton);
        if (message.isEmpty()) {
            // Handed to the host, which starts the change.
            QCOMPARE(host.changedPassword,
                     (std::vector<std::string>{typed[1].toStdString(), typed[2].toStdString()}));
            QVERIFY(host.events.isEmpty());
            return;
        }
        QCOMPARE(host.events, (QStringList{"box " + message, "show 193"}));
        QVERIFY(host.changedPassword.empty());
        QTRY_VERIFY(fields[focus]->hasFocus());
        QCOMPARE(fields[focus]->selectedText(), typed[focus]);
    }

    void theSwitchChoosesWhichPasswordIsEdited()
    {
        TestPageHost host;
        CPasswordsPage page;
        QVERIFY(ShowActive(page, host));
        auto enabled = [&page] {
            QString states;
            for (QWidget *w : std::initializer_list<QWidget *>{
                     page.OldField(), page.NewField(), page.ConfirmField(), page.ConfirmButton(),
                     page.GeneralField()})
                states += w->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return states;
        };
        QCOMPARE(enabled(), QStringLiteral("00001"));
        page.ChangeBox()->click();
        QCOMPARE(enabled(), QStringLiteral("11110"));
        QTRY_VERIFY(page.OldField()->hasFocus());
        page.ChangeBox()->click();
        QCOMPARE(enabled(), QStringLiteral("00001"));
        QTRY_VERIFY(page.GeneralField()->hasFocus());
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

    void textsAndAccessibleNames_data()
    {
        QTest::addColumn<int>("language");
        // heading, box, old, new, hint, confirm, general, general hint, button
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << 1
                                 << QStringList{"Software Password",
                                                "Change Software Password",
                                                "&Old Password:",
                                                "&New Password:",
                                                "[4 ~ 12] characters",
                                                "&Confirm Password:",
                                                "General Password",
                                                "6 characters",
                                                "Confirm"};
        QTest::newRow("Portuguese") << 2
                                    << QStringList{"Senha de software",
                                                   "Alterar senha de software",
                                                   "Senha atual:",
                                                   "Nova senha:",
                                                   "[4 ~ 12] caracteres",
                                                   "Confirmar nova senha:",
                                                   "Senha geral",
                                                   "6 caracteres",
                                                   "Alterar"};
        QTest::newRow("Spanish") << 3
                                 << QStringList{
                                        QString::fromUtf8("Software contraseña"),
                                        QString::fromUtf8("Cambiar la contraseña de software"),
                                        QString::fromUtf8("Contraseña actual:"),
                                        QString::fromUtf8("Nueva contraseña:"),
                                        "[4 ~ 12] caracteres",
                                        QString::fromUtf8("Confirmar nueva contraseña:"),
                                        QString::fromUtf8("General contraseña"),
                                        "6 caracteres",
                                        "Cambiar"};
    }

    void textsAndAccessibleNames()
    {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        LanguageScope scope(language);
        TestPageHost host;
        CPasswordsPage page;
        page.InitPage(host);
        QCOMPARE(LabelTexts(page), (QStringList{texts[0], texts[2], texts[3], texts[4], texts[5], texts[6],
                                     texts[7]}));
        QCOMPARE(page.ChangeBox()->text(), texts[1]);
        QCOMPARE(page.ConfirmButton()->text(), texts[8]);
        auto plain = [](QString text) { return text.remove(QLatin1Char('&')); };
        const QStringList names{
            AccessibleName(page.ChangeBox()),    AccessibleName(page.OldField()),
            AccessibleName(page.NewField()),     AccessibleName(page.ConfirmField()),
            AccessibleName(page.GeneralField()), AccessibleName(page.ConfirmButton())};
        QCOMPARE(names, (QStringList{texts[1], plain(texts[2]), plain(texts[3]), plain(texts[5]),
                                     texts[6], texts[8]}));
    }
};

KESTREL_PAGE_TEST_MAIN(PasswordsPageTest)
#include "passwords_page_test.moc"
