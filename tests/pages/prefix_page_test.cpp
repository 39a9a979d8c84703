// The Prefix page: its five rules in order, the ";" after each typed
// pre-number, store and load.

#include "page_test_support.h"
#include "pages/prefix_page.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

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
        QTest::addColumn<QString>("preNumbers"); // as shown, separators included
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("message"); // empty: the page passes
        QTest::addColumn<bool>("onPrefix");   // else on the pre-numbers
        const QString onlyNumbers =
            QStringLiteral("Error: Only numbers (0,1,2,...,9) are allowed in the Pre Number!");
        QTest::newRow("1 pre-number not a digit") << "1;a;"
                                                  << "12x" << onlyNumbers << false;
        // Eleven digits, repeated too: the count is checked first.
        QTest::newRow("2 more than 10 pre-numbers")
            << "0;1;2;3;4;5;6;7;8;9;0;"
            << "x"
            << "Error: The Prefix no more than 10 characters!" << false;
        QTest::newRow("3 prefix not digits") << "1;2;"
                                             << "12a" << onlyNumbers << true;
        // 17 digits and a repeated pre-number: the prefix is checked first.
        QTest::newRow("4 prefix of 17") << "1;1;"
                                        << "12345678901234567"
                                        << "Error: The Prefix no more than 16 characters!" << true;
        QTest::newRow("5 pre-number twice") << "1;2;1;"
                                            << "1234567890123456"
                                            << "Error: Duplicate Pre Number found !" << false;
        QTest::newRow("passes: ten distinct, prefix of 16")
            << "0;1;2;3;4;5;6;7;8;9;"
            << "1234567890123456" << QString() << false;
        QTest::newRow("passes: both empty") << ""
                                            << "" << QString() << false;
    }

    void rulesInOrder()
    {
        QFETCH(QString, preNumbers);
        QFETCH(QString, prefix);
        QFETCH(QString, message);
        QFETCH(bool, onPrefix);
        TestPageHost host;
        BoxRecorder recorder(host);
        CPrefixPage page;
        QVERIFY(ShowActive(page, host));
        page.SwitchBox()->click();
        page.PreNumberField()->setText(preNumbers);
        page.PrefixField()->setText(prefix);
        VerifyRule(page, host, message, onPrefix ? page.PrefixField() : page.PreNumberField());
        if (message.isEmpty() || QTest::currentTestFailed())
            return;
        const qsizetype told = host.events.size();

        // Switched off, nothing is checked.
        page.SwitchBox()->click();
        QVERIFY(page.ValidatePage());
        QCOMPARE(host.events.size(), told);
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

    void storeAndLoad_data()
    {
        QTest::addColumn<QStringList>("loaded"); // add prefix, pre-numbers, prefix
        QTest::addColumn<QString>("shown");      // the switch, enabled fields, the two texts
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("on") << QStringList{"01", "123", "0021"} << "on PP 1;2;3; 0021"
                            << QStringList{"01", "123", "0021"};
        QTest::newRow("any non-zero is on")
            << QStringList{"5", "9", ""} << "on PP 9; " << QStringList{"01", "9", ""};
        // Off, the texts are still stored as they are: a prefix of 17 digits too.
        QTest::newRow("off") << QStringList{"00", "44", "12345678901234567"}
                             << "off -- 4;4; 12345678901234567"
                             << QStringList{"00", "44", "12345678901234567"};
        QTest::newRow("empty") << QStringList{"", "", ""} << "off --  "
                               << QStringList{"00", "", ""};
    }

    void storeAndLoad()
    {
        QFETCH(QStringList, loaded);
        QFETCH(QString, shown);
        QFETCH(QStringList, stored);
        TestPageHost host;
        CPrefixPage page;
        page.InitPage(host);
        VerifyLoadAndStore(
            page, host, {Slot::AddPrefix, Slot::PreNumbers, Slot::Prefix}, loaded,
            [&page] {
                return QStringList{page.SwitchBox()->isChecked() ? "on" : "off", Enabled(page),
                                   page.PreNumberField()->text(), page.PrefixField()->text()}
                    .join(' ');
            },
            shown, stored);
    }
};

KESTREL_QT_TEST(PrefixPageTest)
#include "prefix_page_test.moc"
