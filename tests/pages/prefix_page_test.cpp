// The Prefix page: the ";" after each typed pre-number, store and load.

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
