// The two list pages, Forbids and Call back: the list filled from the store
// on the list box's first click, numbers stored without a hole, blank
// records shown and stored empty; what each checks and stores only while
// its switches are on, and a number being typed.

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

const std::vector<Slot> kCallBackSlots = {Slot::CallBack, Slot::CallBackTime,
                                          Slot::CallBackAttempts, Slot::AnswerCallBackTime};

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

    // A read ends the list at its first empty entry: the numbers are stored
    // from the first position on, and the list shows what was stored.
    void filledRowsAreStoredWithoutAHole_data() { ListPageRows(); }
    void filledRowsAreStoredWithoutAHole()
    {
        const ListPage &list = ListPageRow();
        ScriptedPage scripted(list.page);
        ParameterStore &store = scripted.host.store;
        for (size_t i = 0; i < 20; ++i)
            Entry(store, list.page, i) = "999";
        Act(scripted.controls, QString::fromLatin1(list.listOn));
        SetNumbers(ListOf(scripted), {"", "0800", "", "", "12"});
        QVERIFY(scripted.page->ValidatePage());
        scripted.page->SaveToStore();
        QCOMPARE(Entry(store, list.page, 0), std::string("0800"));
        QCOMPARE(Entry(store, list.page, 1), std::string("12"));
        for (size_t i = 2; i < 20; ++i)
            QCOMPARE(Entry(store, list.page, i), std::string());
        QCOMPARE(Numbers(ListOf(scripted)).mid(0, 3), (QStringList{"0800", "12", ""}));
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

    void forbiddenRowsAreNeitherCheckedNorStoredWhileTheBoxIsOff()
    {
        ScriptedPage scripted(Page::Forbids);
        ParameterStore &store = scripted.host.store;
        store.forbidden[2] = "0800";
        store.forbidden[7] = "x";
        scripted.page->LoadFromStore();
        QCOMPARE(Shown(scripted.controls), QStringLiteral("D I N L l=20 @l"));
        QCOMPARE(ListOf(scripted)->CellText(7, 1), QStringLiteral("x"));
        QVERIFY(scripted.page->ValidatePage());
        scripted.page->SaveToStore();
        QCOMPARE(store.forbidden, (std::array<std::string, 20>{}));
        QCOMPARE(store[Slot::PrefixNumberBlock], std::string("00"));
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

    // Call back's slots: 16517, 16539, 16540, 16545; "?" left as it was.
    // Call back's slots: 16517, 16539, 16540, 16545; "?" left as it was.
    // Loaded, whether 16214 and 16511 hold numbers, shown, stored.
    void callBackStoreAndLoad()
    {
        // clang-format off
        const std::tuple<QString, bool, QString, QString> rows[] = {
            // On, all timings, 05 as 5.
            {"01|10|3|05", true, "S+ T+ t=10 A+ a=3 R+ r=5 L+ l=300 @S", "01|10|3|5"},
            // On, no numbers: the list box is on anyway.
            {"01||07|", false, "S+ T (t) A+ a=07 R (r) L+ l=300 @S", "01||07|"},
            // Off with numbers: shown, timings left in the store.
            {"00|10||05", true, "S (T+) (t=10) (A) (a) (R+) (r=5) (L+) (l=300) @S", "00|?|?|?"},
            // Off without numbers: no rows.
            {"0|||9", false, "S (T) (t) (A) (a) (R+) (r=9) (L) (l) @S", "00|?|?|?"},
        };
        // clang-format on
        for (const auto &[loaded, numbers, shown, stored] : rows) {
            ScriptedPage scripted(Page::CallBack);
            ParameterStore &store = scripted.host.store;
            if (numbers) {
                store.callBack[2] = "0211";
                store.callBack[299] = "5550299";
            }
            SetSlots(store, kCallBackSlots, loaded.split('|'));
            scripted.page->LoadFromStore();
            QCOMPARE(Shown(scripted.controls), shown);
            CReportCtrl *list = ListOf(scripted);
            if (numbers)
                QCOMPARE(list->CellText(2, 1) + " " + list->CellText(299, 1),
                         QStringLiteral("0211 5550299"));
            SetSlots(store, kCallBackSlots, {"?", "?", "?", "?"});
            scripted.page->SaveToStore();
            QCOMPARE(SlotTexts(store, kCallBackSlots).join('|'), stored);
            // On or off, the numbers are stored without a hole; the rows, stored
            // only with call back on, then show what was stored.
            decltype(store.callBack) closedUp{};
            if (numbers) {
                closedUp[0] = "0211";
                closedUp[1] = "5550299";
                const QStringList listed = stored.startsWith(QLatin1String("01"))
                                               ? QStringList{"0211", "5550299", ""}
                                               : QStringList{"", "", "0211"};
                QCOMPARE(Numbers(list).mid(0, 3), listed);
            }
            QCOMPARE(store.callBack, closedUp);
        }
    }

    // Call back off stores the switch alone: timings and numbers stay in the
    // store (and are exported) as they were, whatever the page shows.
    void callBackOffKeepsWhatTheStoreHolds()
    {
        ScriptedPage scripted(Page::CallBack);
        ParameterStore &store = scripted.host.store;
        SetSlots(store, kCallBackSlots, {"01", "10", "3", "05"});
        store.callBack[0] = "5551234";
        scripted.page->LoadFromStore();
        // The time's box unchecked empties its field.
        Act(scripted.controls, QStringLiteral("T a=9 l0=777 S"));
        QVERIFY(scripted.page->ValidatePage());
        scripted.page->SaveToStore();
        QCOMPARE(SlotTexts(store, kCallBackSlots).join('|'), QStringLiteral("00|10|3|05"));
        QCOMPARE(store.callBack[0], std::string("5551234"));
    }

    void onlyBlankRecordsLeaveTheCallBackListBoxOffWhileCallBackIsOff()
    {
        ScriptedPage scripted(Page::CallBack);
        scripted.host.store.callBack[0] = "0*0*0*0";
        scripted.page->LoadFromStore();
        QCOMPARE(Shown(scripted.controls), QStringLiteral("S (T) (t) (A) (a) (R) (r) (L) (l) @S"));
    }
};

KESTREL_QT_TEST(ListPagesTest)
#include "list_pages_test.moc"
