// The Prefix page: its five rules in order, the ";" after each typed
// pre-number, the switch that enables both fields, store and load, texts.

#include "page_test_support.h"
#include "pages/prefix_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using params::Slot;

namespace {

// A page that records what its enabling was asked for.
class RecordingPrefixPage : public CPrefixPage
{
public:
    void EnablePrefixFields(bool enable) override
    {
        calls << enable;
        CPrefixPage::EnablePrefixFields(enable);
    }
    QList<bool> calls;
};

QString Enabled(const CPrefixPage &page)
{
    return QStringLiteral("%1%2").arg(page.PreNumberField()->isEnabled() ? "P" : "-",
                                      page.PrefixField()->isEnabled() ? "P" : "-");
}

} // namespace

class PrefixPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesInOrder_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("preNumbers"); // as shown, separators included
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("message"); // empty: the page passes
        QTest::addColumn<bool>("onPrefix");   // else on the pre-numbers
        struct Case
        {
            const char *name, *preNumbers, *prefix;
            bool onPrefix;
            const char *messages[3];
        };
        const char *const kOnlyNumbers[3] = {
            "Error: Only numbers (0,1,2,...,9) are allowed in the Pre Number!",
            "Erro: Somente são permitidos números (0,1,2,...,9) no Pré-número!",
            "Error: Sólo se permiten números (0,1,2,...,9) en el Pre-número!"};
        const Case cases[] = {
            {"1 pre-number not a digit",
             "1;a;",
             "12x",
             false,
             {kOnlyNumbers[0], kOnlyNumbers[1], kOnlyNumbers[2]}},
            // Eleven digits, repeated too: the count is checked first.
            {"2 more than 10 pre-numbers",
             "0;1;2;3;4;5;6;7;8;9;0;",
             "x",
             false,
             {"Error: The Prefix no more than 10 characters!",
              "Erro: O prefixo não pode ter mais de 10 caracteres!",
              "Error: El prefijo no puede tener más de 10 caracteres!"}},
            {"3 prefix not digits",
             "1;2;",
             "12a",
             true,
             {kOnlyNumbers[0], kOnlyNumbers[1], kOnlyNumbers[2]}},
            // 17 digits and a repeated pre-number: the prefix is checked first.
            {"4 prefix of 17",
             "1;1;",
             "12345678901234567",
             true,
             {"Error: The Prefix no more than 16 characters!",
              "Erro: O prefixo não pode ter mais de 16 caracteres!",
              "Error: El prefijo no puede tener más de 16 caracteres!"}},
            {"5 pre-number twice",
             "1;2;1;",
             "1234567890123456",
             false,
             {"Error: Duplicate Pre Number found !", "Erro: Pré-números repetidos!",
              "Error: Pre-números repetidos!"}},
            {"passes: ten distinct, prefix of 16",
             "0;1;2;3;4;5;6;7;8;9;",
             "1234567890123456",
             false,
             {"", "", ""}},
            {"passes: both empty", "", "", false, {"", "", ""}},
        };
        for (const Case &c : cases) {
            for (const LanguageRow &language : kLanguages) {
                QTest::addRow("%s, %s", c.name, language.name)
                    << language.code << QString::fromUtf8(c.preNumbers)
                    << QString::fromUtf8(c.prefix)
                    << QString::fromUtf8(c.messages[language.code - 1]) << c.onPrefix;
            }
        }
    }

    void rulesInOrder()
    {
        QFETCH(int, language);
        QFETCH(QString, preNumbers);
        QFETCH(QString, prefix);
        QFETCH(QString, message);
        QFETCH(bool, onPrefix);
        LanguageScope scope(language);
        TestPageHost host;
        BoxRecorder recorder(host);
        CPrefixPage page;
        QVERIFY(ShowActive(page, host));
        page.SwitchBox()->click();
        page.PreNumberField()->setText(preNumbers);
        page.PrefixField()->setText(prefix);
        if (message.isEmpty()) {
            QVERIFY(page.ValidatePage());
            QVERIFY(host.events.isEmpty());
            return;
        }

        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.events, (QStringList{"box " + message, "show 186"}));
        QLineEdit *field = onPrefix ? page.PrefixField() : page.PreNumberField();
        QTRY_VERIFY(field->hasFocus());
        QCOMPARE(field->selectedText(), field->text());

        // Switched off, nothing is checked.
        page.SwitchBox()->click();
        QVERIFY(page.ValidatePage());
        QCOMPARE(recorder.boxes.size(), 1);
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

    void switchEnablesBothFieldsAndNothingElse()
    {
        TestPageHost host;
        RecordingPrefixPage page;
        QVERIFY(ShowActive(page, host));
        QCOMPARE(Enabled(page), QStringLiteral("--"));
        page.PrefixField()->setText(QStringLiteral("0021"));
        page.SwitchBox()->setFocus();
        QTest::mouseClick(page.SwitchBox(), Qt::LeftButton, {},
                          QPoint(4, page.SwitchBox()->height() / 2));
        QCOMPARE(Enabled(page), QStringLiteral("PP"));
        QVERIFY(page.SwitchBox()->hasFocus()); // no focus moved
        page.SwitchBox()->click();
        QCOMPARE(Enabled(page), QStringLiteral("--"));
        QCOMPARE(page.PrefixField()->text(), QStringLiteral("0021")); // nothing emptied

        host.store[Slot::AddPrefix] = "01";
        page.LoadFromStore();
        QCOMPARE(Enabled(page), QStringLiteral("PP"));
        // Initialisation, the two clicks and the load went through the page's operation.
        QCOMPARE(page.calls, (QList<bool>{false, true, false, true}));
    }

    void storeAndLoad_data()
    {
        QTest::addColumn<QString>("switchSlot");
        QTest::addColumn<QString>("preNumbers");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("storedSwitch");
        QTest::newRow("on") << "01"
                            << "123"
                            << "0021" << true << "1;2;3;"
                            << "01";
        QTest::newRow("any non-zero is on") << "5"
                                            << "9"
                                            << "" << true << "9;"
                                            << "01";
        // Off, the texts are still stored as they are: a prefix of 17 digits too.
        QTest::newRow("off") << "00"
                             << "44"
                             << "12345678901234567" << false << "4;4;"
                             << "00";
        QTest::newRow("empty") << ""
                               << ""
                               << "" << false << ""
                               << "00";
    }

    void storeAndLoad()
    {
        QFETCH(QString, switchSlot);
        QFETCH(QString, preNumbers);
        QFETCH(QString, prefix);
        QFETCH(bool, on);
        QFETCH(QString, shown);
        QFETCH(QString, storedSwitch);
        TestPageHost host;
        CPrefixPage page;
        page.InitPage(host);
        host.store[Slot::AddPrefix] = switchSlot.toStdString();
        host.store[Slot::PreNumbers] = preNumbers.toStdString();
        host.store[Slot::Prefix] = prefix.toStdString();
        page.LoadFromStore();
        QCOMPARE(page.SwitchBox()->isChecked(), on);
        QCOMPARE(Enabled(page), on ? QStringLiteral("PP") : QStringLiteral("--"));
        QCOMPARE(page.PreNumberField()->text(), shown);
        QCOMPARE(page.PrefixField()->text(), prefix);

        host.store = {};
        page.SaveToStore();
        QCOMPARE(host.store[Slot::AddPrefix], storedSwitch.toStdString());
        QCOMPARE(host.store[Slot::PreNumbers], preNumbers.toStdString());
        QCOMPARE(host.store[Slot::Prefix], prefix.toStdString());
    }

    void textsAndAccessibleNames_data()
    {
        QTest::addColumn<int>("language");
        // switch, pre-number label, pre-number hint, prefix label, prefix hint
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << 1
                                 << QStringList{" Enable Add Prefix", "Pre Number:", "[0~9]",
                                                "Prefix:", "[at most 16 characters]"};
        QTest::newRow("Portuguese")
            << 2
            << QStringList{"Habilitar adicionar prefixo", QString::fromUtf8("Pré-número:"), "[0~9]",
                           "Prefixo:", QString::fromUtf8("[no máximo 16 caracteres]")};
        QTest::newRow("Spanish") << 3
                                 << QStringList{
                                        "Habilitar prefijo", QString::fromUtf8("Pre-número:"),
                                        "[0~9]",
                                        "Prefijo:", QString::fromUtf8("[máximo 16 caracteres]")};
    }

    void textsAndAccessibleNames()
    {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        LanguageScope scope(language);
        TestPageHost host;
        CPrefixPage page;
        page.InitPage(host);
        QStringList shown{page.SwitchBox()->text()};
        shown << LabelTexts(page);
        QCOMPARE(shown, texts);
        const QStringList names{AccessibleName(page.SwitchBox()),
                                AccessibleName(page.PreNumberField()),
                                AccessibleName(page.PrefixField())};
        QCOMPARE(names, Spoken({texts[0], texts[1], texts[3]}));
    }
};

KESTREL_PAGE_TEST_MAIN(PrefixPageTest)
#include "prefix_page_test.moc"
