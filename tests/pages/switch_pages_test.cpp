// The two single-switch pages, Restricted ID ("1"/"0") and Polarity
// Inversion ("01"/"00"): load, store; never a refusal. And the read
// items of the pages of fixed numbers, made by the factory.

#include "page_test_support.h"
#include "pages/page_factory.h"
#include "pages/polarity_page.h"
#include "pages/restricted_id_page.h"

#include <QCheckBox>

using params::Slot;

namespace {

std::unique_ptr<SwitchPage> MakePage(bool restrictedId)
{
    if (restrictedId)
        return std::make_unique<CRestrictedIdPage>();
    return std::make_unique<CPolarityPage>();
}

} // namespace

class SwitchPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadAndStore_data()
    {
        QTest::addColumn<bool>("restrictedId"); // else polarity
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("stored");
        struct Case
        {
            const char *loaded;
            bool checked;
        };
        const Case cases[] = {{"01", true}, {"1", true}, {"5", true}, {"00", false},
                              {"0", false}, {"", false}, {"x", false}};
        for (const Case &c : cases) {
            // A read of 16546 = "01" checks the box; what goes back is "1".
            QTest::addRow("restricted ID \"%s\"", c.loaded)
                << true << c.loaded << c.checked << (c.checked ? "1" : "0");
            QTest::addRow("polarity \"%s\"", c.loaded)
                << false << c.loaded << c.checked << (c.checked ? "01" : "00");
        }
    }

    void loadAndStore()
    {
        QFETCH(bool, restrictedId);
        QFETCH(QString, loaded);
        QFETCH(bool, checked);
        QFETCH(QString, stored);
        TestPageHost host;
        BoxRecorder recorder(host);
        std::unique_ptr<SwitchPage> page = MakePage(restrictedId);
        page->InitPage(host);
        const Slot slot = restrictedId ? Slot::RestrictedId : Slot::PolarityInversion;
        const Slot other = restrictedId ? Slot::PolarityInversion : Slot::RestrictedId;
        host.store[slot] = loaded.toStdString();
        host.store[other] = "keep";
        page->LoadFromStore();
        QCOMPARE(page->SwitchBox()->isChecked(), checked);
        QVERIFY(page->ValidatePage());
        page->SaveToStore();
        QCOMPARE(QString::fromStdString(host.store[slot]), stored);
        QCOMPARE(host.store[other], std::string("keep"));

        page->SwitchBox()->click();
        QVERIFY(page->ValidatePage());
        page->SaveToStore();
        QCOMPARE(page->SwitchBox()->isChecked(), !checked);
        QVERIFY(host.events.isEmpty());
    }

    // The pages of fixed numbers come from the factory and ask for their
    // numbers (and the clock).
    void factoryAndReadItems_data()
    {
        QTest::addColumn<int>("templateId");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QString>("queries"); // command, argument, name
        QTest::newRow("Prefix") << 186 << QStringList{"34", "1000", "1001"} << "";
        QTest::newRow("CSP") << 187 << QStringList{"16541", "16542"} << "";
        QTest::newRow("Restricted ID") << 189 << QStringList{"16546"} << "";
        QTest::newRow("Polarity Inversion") << 191 << QStringList{"16001"} << "";
        QTest::newRow("Volume") << 184 << QStringList{"16543", "16544"} << "";
        QTest::newRow("Security Code")
            << 137 << QStringList{"6000", "6002", "16207", "16550"} << "";
        QTest::newRow("Times, in Portuguese")
            << 192 << QStringList{"2", "16208", "16209", "16210", "16515", "16516"}
            << "AT+CCLK ? Alterar data e hora 0801&0802";
    }

    void factoryAndReadItems()
    {
        QFETCH(int, templateId);
        QFETCH(QStringList, numbers);
        QFETCH(QString, queries);
        LanguageScope scope(lang::kPortuguese);
        TestPageHost host;
        std::unique_ptr<CParameterPage> page = CreateParameterPage(templateId);
        QVERIFY(page);
        QCOMPARE(page->TemplateId(), templateId);
        page->InitPage(host);
        ReadLists lists;
        page->AppendReadItems(lists);
        QStringList appended, asked;
        for (const std::string &number : lists.numbers)
            appended << QString::fromStdString(number);
        for (size_t i = 0; i < lists.atCommands.size(); ++i)
            asked << QString::fromStdString(lists.atCommands[i] + " " + lists.atArguments[i] + " " +
                                            lists.atNames[i]);
        QCOMPARE(appended, numbers);
        QCOMPARE(asked.join('|'), queries);
    }
};

KESTREL_QT_TEST(SwitchPagesTest)
#include "switch_pages_test.moc"
