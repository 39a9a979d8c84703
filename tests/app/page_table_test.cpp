// The page table and its two look-ups.

#include "app/page_table.h"
#include "params/catalogue.h"
#include "tests/common/qt_test_registry.h"

#include <QtTest>

class PageTableTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookupsFindEveryRowAndElevenWhenNothingMatches()
    {
        for (int index = 0; index < kPageTableRows; ++index) {
            const PageTableEntry *entry = PageEntry(index);
            QVERIFY(entry);
            QCOMPARE(entry->nPageIndex, index);
            QCOMPARE(PageIndexByTemplate(entry->nTemplateId), index);
            QCOMPARE(PageIndexByNavButton(entry->nNavButtonId), index);
            // The same pages in the same order as the parameter catalogue.
            QCOMPARE(entry->nTemplateId, params::PageTemplate(static_cast<params::Page>(index)));
        }
        for (int id : {0, -1, 100, 102, 1368, 1380, 2500, 1369 + 11})
            QCOMPARE(PageIndexByTemplate(id), 11);
        for (int id : {0, 193, 1368, 1380})
            QCOMPARE(PageIndexByNavButton(id), 11);
        QVERIFY(!PageEntry(11) && !PageEntry(-1));
    }

    // Of the other languages' blocks only the titles are looked up.
    void titlesInEachLanguage()
    {
        for (const PageTableEntry &entry : g_pageTable)
            QVERIFY(!entry.title.empty() && entry.title.size() < 100); // the titles' fixed buffer
        // A code outside 1..3 still labels the page, in English.
        QCOMPARE(PageTitle(9, 0), std::string_view("Volume"));
        QCOMPARE(PageTitle(9, 7), std::string_view("Volume"));
        QVERIFY(PageTitle(11, 1).empty() && PageTitle(-1, 1).empty());
    }
};

KESTREL_QT_TEST(PageTableTest)
#include "page_table_test.moc"
