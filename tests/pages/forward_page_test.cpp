// The Call waiting and forward page: what the master box includes in a
// read and the queries the read asks. The boxes that exclude each other,
// the silent rules, store and load are in golden/page_scripts.txt.

#include "page_script.h"
#include "pages/forward_page.h"

class ForwardPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The master box includes call waiting and forwarding in what the next
    // read asks and imports; the queries are the catalogue's (see the read
    // lists' own tests).
    void theMasterBoxIncludesWhatTheNextReadAsks()
    {
        for (int clicks : {0, 1, 2}) {
            TestPageHost host;
            CForwardPage page;
            page.InitPage(host);
            for (int i = 0; i < clicks; ++i)
                page.MasterBox()->click();
            const bool master = clicks == 1;
            const ParameterStore &store = host.store;
            QCOMPARE((QList<int>{store.waitingForwardEnabled, store.callWaitingIncluded,
                                 store.forwardingIncluded}),
                     (QList<int>{master, master, master}));
            ReadLists lists, expected;
            page.AppendReadItems(lists);
            params::AppendPageReadItems(params::Page::Forward, expected, {master, master, master});
            QVERIFY(lists.numbers.empty());
            QCOMPARE(lists.atCommands, expected.atCommands);
            QCOMPARE(lists.atArguments, expected.atArguments);
            QCOMPARE(lists.atNames, expected.atNames);
        }
    }
};

KESTREL_QT_TEST(ForwardPageTest)
#include "forward_page_test.moc"
