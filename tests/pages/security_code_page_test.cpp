// The Security code page: the PIN code check of a Transmit, the seven rules
// of a PIN change with their message before the page and the field, what a
// passing change stores, the boxes that gate their fields, store, load and
// texts.

#include "page_test_support.h"
#include "pages/security_code_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

namespace {

const char *const kPinLength[3] = {"Error: The PIN Code must be between 4 and 8 characters!",
                                   "Erro: O código PIN deve ter entre 4 e 8 caracteres!",
                                   "Error: El  código PIN debe tener entre 4 y 8 caracteres!"};
const char *const kOnlyNumbers[3] = {
    "Error: Only numbers (0,1,2,...,9) are allowed in the PIN Code!",
    "Erro: Somente são permitidos números (0,1,2,...,9) no código PIN!",
    "Error: Sólo se permiten números (0,1,2,...,9) en el código PIN!"};
const char *const kTooShort[3] = {"Error: The PIN Code no less than 4 characters!",
                                  "Erro: O código PIN não pode ter menos de 4 caracteres!",
                                  "Error: El código PIN no puede tener menos de 4 caracteres!"};
const char *const kNotSame[3] = {"Error: Confirm PIN Code isn`t same as New PIN Code!",
                                 "Erro: Códigos PIN diferentes!", "Error: El PIN diferentes!"};

enum Field { kOld, kNew, kConfirm };

} // namespace

class SecurityCodePageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pinCodeCheck_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("startUp");
        QTest::addColumn<QString>("pin");
        QTest::addColumn<bool>("passes");
        struct Case
        {
            const char *name;
            bool startUp;
            const char *pin;
            bool passes;
        };
        const Case cases[] = {
            {"initial 4711", false, nullptr, true},
            {"empty", false, "", false},
            {"3 digits, start-up off", false, "123", false},
            {"3 digits, start-up on", true, "123", false},
            {"9 digits", true, "123456789", false},
            {"4 digits", true, "0000", true},
            {"8 digits", false, "12345678", true},
        };
        for (const Case &c : cases) {
            for (const LanguageRow &language : kLanguages)
                QTest::addRow("%s, %s", c.name, language.name)
                    << language.code << c.startUp << QString::fromUtf8(c.pin) << c.passes;
        }
    }

    void pinCodeCheck()
    {
        QFETCH(int, language);
        QFETCH(bool, startUp);
        QFETCH(QString, pin);
        QFETCH(bool, passes);
        LanguageScope scope(language);
        TestPageHost host;
        BoxRecorder recorder(host);
        CSecurityCodePage page;
        QVERIFY(ShowActive(page, host));
        QCOMPARE(page.PinField()->text(), QStringLiteral("4711"));
        if (startUp)
            page.StartUpBox()->click();
        if (!pin.isNull())
            page.PinField()->setText(pin);
        if (passes) {
            QVERIFY(page.ValidatePage());
            QVERIFY(host.events.isEmpty());
            return;
        }
        QVERIFY(!page.ValidatePage());
        // The page and the field first, then the message.
        QCOMPARE(host.events,
                 (QStringList{"show 137", "box " + QString::fromUtf8(kPinLength[language - 1])}));
        // The field takes the focus where it can: it is disabled while the
        // PIN is not asked at start-up.
        QCOMPARE(page.PinField()->isEnabled(), startUp);
        if (startUp)
            QTRY_VERIFY(page.PinField()->hasFocus());
        QCOMPARE(page.PinField()->selectedText(), page.PinField()->text());
    }

    void pinChangeRulesInOrder_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("pins"); // old, new, confirm
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        struct Case
        {
            const char *name, *oldPin, *newPin, *confirm;
            const char *const *messages;
            Field field;
        };
        // Every later field is wrong too: the first failure alone is told.
        const Case cases[] = {
            {"1 old empty", "", "12", "9", kOnlyNumbers, kOld},
            {"1 old with a letter", "12a45", "", "", kOnlyNumbers, kOld},
            {"2 old of 3 digits", "123", "12", "9", kTooShort, kOld},
            {"4 new empty", "1234", "", "", kOnlyNumbers, kNew},
            {"4 new with a blank", "12345678", "12 45", "12 45", kOnlyNumbers, kNew},
            {"5 new of 3 digits", "1234", "567", "567", kTooShort, kNew},
            {"7 confirm differs", "1234", "5678", "5679", kNotSame, kConfirm},
            {"7 confirm longer", "1234", "5678", "56780", kNotSame, kConfirm},
            {"7 confirm empty", "1234", "5678", "", kNotSame, kConfirm},
        };
        for (const Case &c : cases) {
            for (const LanguageRow &language : kLanguages)
                QTest::addRow("%s, %s", c.name, language.name)
                    << language.code << QStringList{c.oldPin, c.newPin, c.confirm}
                    << QString::fromUtf8(c.messages[language.code - 1]) << int(c.field);
        }
    }

    void pinChangeRulesInOrder()
    {
        QFETCH(int, language);
        QFETCH(QStringList, pins);
        QFETCH(QString, message);
        QFETCH(int, field);
        LanguageScope scope(language);
        TestPageHost host;
        BoxRecorder recorder(host);
        CSecurityCodePage page;
        QVERIFY(ShowActive(page, host));
        page.ChangeBox()->click();
        QLineEdit *fields[] = {page.OldPinField(), page.NewPinField(), page.ConfirmPinField()};
        for (int i = 0; i < 3; ++i)
            fields[i]->setText(pins[i]);
        const ParameterStore before = host.store;

        page.ConfirmButton()->click();

        // The message first, then the page and the field.
        QCOMPARE(host.events, (QStringList{"box " + message, "show 137"}));
        QTRY_VERIFY(fields[field]->hasFocus());
        QCOMPARE(fields[field]->selectedText(), fields[field]->text());
        QVERIFY(host.store == before);
        QCOMPARE(host.pinChanges, 0);
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

    void theBoxesGateTheirFieldsWithoutMovingTheFocus()
    {
        TestPageHost host;
        CSecurityCodePage page;
        QVERIFY(ShowActive(page, host));
        QWidget *changeControls[] = {page.OldPinField(), page.NewPinField(),
                                     page.ConfirmPinField(), page.ConfirmButton()};
        QVERIFY(!page.PinField()->isEnabled());
        for (QWidget *control : changeControls)
            QVERIFY(!control->isEnabled());
        page.StartUpBox()->setFocus();
        QTRY_VERIFY(page.StartUpBox()->hasFocus());

        page.StartUpBox()->click();
        QVERIFY(page.PinField()->isEnabled());
        page.ChangeBox()->click();
        for (QWidget *control : changeControls)
            QVERIFY(control->isEnabled());
        QVERIFY(page.StartUpBox()->hasFocus());

        page.OldPinField()->setText(QStringLiteral("1234"));
        page.ChangeBox()->click();
        page.StartUpBox()->click();
        QVERIFY(!page.PinField()->isEnabled());
        for (QWidget *control : changeControls)
            QVERIFY(!control->isEnabled());
        QCOMPARE(page.OldPinField()->text(), QStringLiteral("1234"));
        QCOMPARE(page.PinField()->text(), QStringLiteral("4711"));
    }

    void storeAndLoad_data()
    {
        QTest::addColumn<QString>("startUp"); // slot 16550 as read
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("stored");
        QTest::newRow("0 unchecks") << "0" << false << "00";
        QTest::newRow("00 unchecks") << "00" << false << "00";
        QTest::newRow("01 checks") << "01" << true << "01";
        QTest::newRow("1 checks") << "1" << true << "01";
        QTest::newRow("empty unchecks") << "" << false << "00";
    }

    void storeAndLoad()
    {
        QFETCH(QString, startUp);
        QFETCH(bool, checked);
        QFETCH(QString, stored);
        TestPageHost host;
        CSecurityCodePage page;
        page.InitPage(host);
        // Checked before, so that a load that unchecks shows.
        page.StartUpBox()->click();
        page.PinField()->setText(QStringLiteral("98765"));
        host.store[Slot::PinStartUp] = startUp.toStdString();
        host.store[Slot::PinCode] = "1111";
        page.LoadFromStore();
        QCOMPARE(page.StartUpBox()->isChecked(), checked);
        QCOMPARE(page.PinField()->isEnabled(), checked);
        // The PIN text keeps what it held.
        QCOMPARE(page.PinField()->text(), QStringLiteral("98765"));

        host.store = {};
        page.SaveToStore();
        QCOMPARE(QString::fromStdString(host.store[Slot::PinStartUp]), stored);
        QCOMPARE(host.store[Slot::PinCode], std::string("98765"));
        QCOMPARE(host.store.pinWriteMode, 1);
    }

    void readItems()
    {
        CSecurityCodePage page;
        ReadLists lists;
        page.AppendReadItems(lists);
        QCOMPARE(lists.numbers, (std::vector<std::string>{"6000", "6002", "16207", "16550"}));
        QCOMPARE(lists.AtQueryCount(), size_t(0));
    }

    void textsAndAccessibleNames_data()
    {
        QTest::addColumn<int>("language");
        // Start-up box, change box, button.
        QTest::addColumn<QStringList>("own");
        // Labels in layout order: heading, PIN, old, new, hint, confirm.
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("English") << 1
                                 << QStringList{"Enable PIN Code on the Start Up",
                                                "Enable Change PIN Code", "Confirm"}
                                 << QStringList{"PIN Code Setting", "PIN Code:", "Old PIN Code:",
                                                "New PIN Code:", "[4~8]characters",
                                                "Confirm PIN Code:"};
        QTest::newRow("Portuguese")
            << 2
            << QStringList{QString::fromUtf8("Solicitar PIN na iniciação:"),
                           "Habilitar alterar PIN", "Alterar"}
            << QStringList{"PIN", "PIN:", "PIN atual:", "Novo PIN:", "[4 ~ 8] caracteres",
                           "Confirmar novo PIN:"};
        QTest::newRow("Spanish")
            << 3
            << QStringList{QString::fromUtf8("Habilitar PIN en la iniciación:"),
                           "Habilitar cambio de PIN", "Cambiar"}
            << QStringList{"PIN", "PIN:", "PIN actual:", "Nuevo PIN:", "[4 ~ 8] caracteres",
                           "Confirmar nuevo PIN:"};
    }

    void textsAndAccessibleNames()
    {
        QFETCH(int, language);
        QFETCH(QStringList, own);
        QFETCH(QStringList, labels);
        LanguageScope scope(language);
        TestPageHost host;
        CSecurityCodePage page;
        page.InitPage(host);
        QCOMPARE((QStringList{page.StartUpBox()->text(), page.ChangeBox()->text(),
                              page.ConfirmButton()->text()}),
                 own);
        QCOMPARE((QStringList{AccessibleName(page.StartUpBox()), AccessibleName(page.ChangeBox()),
                              AccessibleName(page.ConfirmButton())}),
                 own);
        QCOMPARE(LabelTexts(page), labels);
        QCOMPARE((QStringList{AccessibleName(page.PinField()), AccessibleName(page.OldPinField()),
                              AccessibleName(page.NewPinField()),
                              AccessibleName(page.ConfirmPinField())}),
                 (QStringList{labels[1], labels[2], labels[3], labels[5]}));
    }
};

KESTREL_PAGE_TEST_MAIN(SecurityCodePageTest)
#include "security_code_page_test.moc"
