// The Forbids page: the list filled on load and on the box's first click;
// blank records shown and stored empty; store and load.

#include "list_page_support.h"
#include "pages/forbids_page.h"
#include "params/text_value.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

class ForbidsPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsAreNeitherCheckedNorStoredWhileTheBoxIsOff()
    {
        TestPageHost host;
        host.store.forbidden[2] = "0800";
        host.store.forbidden[7] = "x";
        CForbidsPage page;
        page.InitPage(host);
        page.LoadFromStore();
        QVERIFY(!page.ListBox()->isChecked());
        QCOMPARE(page.List()->CellText(7, 1), QStringLiteral("x"));
        QVERIFY(page.ValidatePage());
        page.SaveToStore();
        QCOMPARE(host.store.forbidden, (std::array<std::string, 20>{}));
        QCOMPARE(host.store[Slot::PrefixNumberBlock], std::string("00"));
    }

    void aListNeverLoadedFailsAtTheFirstPosition()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        CForbidsPage page;
        page.InitPage(host);
        page.ListBox()->setChecked(true); // not clicked: nothing fills the list
        QCOMPARE(page.List()->RowCount(), 0);
        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.events,
                 (QStringList{"box Please input a number in the position 0811!", "show 133"}));
    }

    void theBoxsFirstClickFillsTheListFromTheStore()
    {
        TestPageHost host;
        host.store.forbidden[3] = "555";
        host.store.forbidden[4] = "0*0*0*0";
        CForbidsPage page;
        page.InitPage(host);
        page.ListBox()->click();
        QCOMPARE(Numbers(page.List()).mid(2, 4), (QStringList{"", "555", "", ""}));
        QCOMPARE(page.List()->CellText(0, 0), QStringLiteral("0811"));
        QCOMPARE(page.List()->CellText(19, 0), QStringLiteral("0830"));
        // Rows that exist are left as they are.
        page.List()->SetCellText(3, 1, QStringLiteral("777"));
        page.ListBox()->click();
        page.ListBox()->click();
        QCOMPARE(page.List()->CellText(3, 1), QStringLiteral("777"));
    }

    // A read ends the list at its first empty entry: the numbers are stored
    // from the first position on, and the list shows what was stored.
    void filledRowsAreStoredWithoutAHole()
    {
        TestPageHost host;
        host.store.forbidden.fill("999");
        CForbidsPage page;
        page.InitPage(host);
        page.ListBox()->click();
        SetNumbers(page.List(), {"", "0800", "", "", "12"});
        QVERIFY(page.ValidatePage());
        page.SaveToStore();
        std::array<std::string, 20> expected{};
        expected[0] = "0800";
        expected[1] = "12";
        QCOMPARE(host.store.forbidden, expected);
        QCOMPARE(Numbers(page.List()).mid(0, 3), (QStringList{"0800", "12", ""}));
    }

    // The terminal answers an unused entry with a blank record, which the
    // read stores as it came: the row shows nothing and stores nothing, so
    // a Receive followed by a Transmit is not refused at a row never typed in.
    void blankRecordsLoadAsEmptyRows_data() { BlankRecordRows(); }
    void blankRecordsLoadAsEmptyRows()
    {
        QFETCH(QString, entry);
        QFETCH(bool, blank);
        TestPageHost host;
        BoxRecorder recorder(host);
        host.store[Slot::PrefixNumberBlock] = "01";
        host.store.forbidden[0] = "0800";
        host.store.forbidden[1] = entry.toStdString();
        CForbidsPage page;
        page.InitPage(host);
        page.LoadFromStore();
        QCOMPARE(page.List()->CellText(1, 1), blank ? QString() : entry);
        QCOMPARE(page.ValidatePage(), blank || params::IsAllDigits(entry.toStdString()));
        page.SaveToStore();
        QCOMPARE(QString::fromStdString(host.store.forbidden[1]), blank ? QString() : entry);
    }

    void aNumberBeingTypedIsCheckedAndStored()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        CForbidsPage page;
        QVERIFY(ShowActive(page, host));
        page.ListBox()->click();
        page.List()->SelectRow(6);
        page.List()->setFocus();
        QTest::keyClick(page.List(), '0'); // opens the editor
        QVERIFY(page.List()->InPlaceEditor());
        QTest::keyClicks(page.List()->InPlaceEditor(), QStringLiteral("8a"));
        QVERIFY(!page.ValidatePage());
        QCOMPARE(recorder.boxes.size(), 1);
        QVERIFY(recorder.boxes.front().text.endsWith(QStringLiteral("0817!")));
        page.List()->SetCellText(6, 1, QString());
        page.List()->SelectRow(6);
        page.List()->setFocus();
        QTest::keyClick(page.List(), '0');
        QTest::keyClicks(page.List()->InPlaceEditor(), QStringLiteral("800"));
        page.SaveToStore();
        QCOMPARE(host.store.forbidden[0], std::string("0800"));
    }
};

KESTREL_QT_TEST(ForbidsPageTest)
#include "forbids_page_test.moc"
