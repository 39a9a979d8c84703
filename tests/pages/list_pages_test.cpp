// The two list pages, Forbids and Call back: the list filled from the store
// on the list box's first click, blank records shown and stored empty, a
// number being typed. How the lists store their numbers without a hole,
// and what they check and store only while their switches are on, is in
// golden/page_scripts.txt.

#include "page_script.h"
#include "pages/forbids_page.h"
#include "params/text_value.h"

using params::Page;
using params::Slot;

namespace {

// Each list page: the switch slot, the script that turns its list on, the
// positions of the first and last row, and whether the list box's first
// click shows the store's numbers.
struct ListPage
{
    Page page;
    Slot listSwitch;
    const char *listOn;
    const char *first, *last;
    bool fillsFromStore;
};

constexpr ListPage kForbids{Page::Forbids, Slot::PrefixNumberBlock, "L", "0811", "0830", true};
constexpr ListPage kCallBack{Page::CallBack, Slot::CallBack, "S L", "  1507", "  1806", false};

std::string &Entry(ParameterStore &store, Page page, size_t index)
{
    return page == Page::Forbids ? store.forbidden.at(index) : store.callBack.at(index);
}

void ListPageRows()
{
    QTest::addColumn<int>("index");
    QTest::newRow("forbids") << 0;
    QTest::newRow("call back") << 1;
}

const ListPage &ListPageRow()
{
    QFETCH(int, index);
    return index ? kCallBack : kForbids;
}

CReportCtrl *ListOf(const ScriptedPage &scripted)
{
    return qobject_cast<CReportCtrl *>(Control(scripted.controls, 'l'));
}

} // namespace

class ListPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theListBoxFillsItsPositionsFromTheStoreOnce_data() { ListPageRows(); }
    void theListBoxFillsItsPositionsFromTheStoreOnce()
    {
        const ListPage &list = ListPageRow();
        ScriptedPage scripted(list.page);
        Entry(scripted.host.store, list.page, 3) = "555";
        Entry(scripted.host.store, list.page, 4) = "0*0*0*0";
        Act(scripted.controls, QString::fromLatin1(list.listOn));
        CReportCtrl *rows = ListOf(scripted);
        QCOMPARE(Numbers(rows).mid(2, 4),
                 (QStringList{"", list.fillsFromStore ? "555" : "", "", ""}));
        QCOMPARE(rows->CellText(0, 0), QString::fromLatin1(list.first));
        QCOMPARE(rows->CellText(rows->RowCount() - 1, 0), QString::fromLatin1(list.last));
        // Rows that exist are left as they are.
        Act(scripted.controls, QStringLiteral("l3=777 L L"));
        QCOMPARE(rows->CellText(3, 1), QStringLiteral("777"));
    }

    // The terminal answers an unused entry with a blank record, which the
    // read stores as it came: the row shows nothing and stores nothing, so
    // a Receive followed by a Transmit is not refused at a row never typed
    // in. With call back off too: a blank record is no number to send back.
    void blankRecordsLoadAsEmptyRows_data() { BlankRecordRows(); }
    void blankRecordsLoadAsEmptyRows()
    {
        QFETCH(QString, entry);
        QFETCH(bool, blank);
        const std::pair<const ListPage *, const char *> cases[] = {
            {&kForbids, "01"}, {&kCallBack, "01"}, {&kCallBack, "00"}};
        for (const auto &[list, on] : cases) {
            ScriptedPage scripted(list->page);
            ParameterStore &store = scripted.host.store;
            store[list->listSwitch] = on;
            Entry(store, list->page, 0) = "0800";
            Entry(store, list->page, 1) = entry.toStdString();
            scripted.page->LoadFromStore();
            QCOMPARE(ListOf(scripted)->CellText(1, 1), blank ? QString() : entry);
            if (list == &kForbids)
                QCOMPARE(scripted.page->ValidatePage(),
                         blank || params::IsAllDigits(entry.toStdString()));
            scripted.page->SaveToStore();
            QCOMPARE(QString::fromStdString(Entry(store, list->page, 1)),
                     blank ? QString() : entry);
            QCOMPARE(Entry(store, list->page, 0), std::string("0800"));
        }
    }

    void aForbiddenListNeverLoadedFailsAtTheFirstPosition()
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

    void aForbiddenNumberBeingTypedIsCheckedAndStored()
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
        QCOMPARE(
            host.events,
            (QStringList{"box Error: Only numbers (0,1,2,...,9) are allowed in the position  0817!",
                         "show 133"}));
        page.List()->SetCellText(6, 1, QString());
        page.List()->SelectRow(6);
        page.List()->setFocus();
        QTest::keyClick(page.List(), '0');
        QTest::keyClicks(page.List()->InPlaceEditor(), QStringLiteral("800"));
        page.SaveToStore();
        QCOMPARE(host.store.forbidden[0], std::string("0800"));
    }
};

KESTREL_QT_TEST(ListPagesTest)
#include "list_pages_test.moc"
