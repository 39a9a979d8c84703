// The page base: labelling, the first-failure report, keys and colour; the
// factory that makes the eleven pages.

#include "page_test_support.h"
#include "pages/page_factory.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

using params::Page;

namespace {

constexpr lang::Tr3 kBoxLabel = {"Enable Add Prefix", "Habilitar adicionar prefixo",
                                 "Habilitar prefijo"};
constexpr lang::Tr3 kHint = {"[at most 20 characters]", "[no máximo 20 caracteres]",
                             "[máximo 20 caracteres]"};
constexpr lang::Tr3 kEmptyRule = {"Please input the General Password.",
                                  "Por favor, insira a senha geral.",
                                  "Por favor introduzca la general contraseña."};
constexpr lang::Tr3 kPositionRule = {"Please input a number in the position %04d!",
                                     "Por favor, insira um número na posição %04d!",
                                     "Por favor introduzca un número en la posición %04d!"};

// A small page in the manner of the real ones: a box, a hint and a field.
class SamplePage : public CParameterPage
{
public:
    SamplePage() : CParameterPage(186)
    {
        auto *layout = new QVBoxLayout(this);
        box = new QCheckBox(QString::fromUtf8(kBoxLabel.en), this);
        hint = new QLabel(QString::fromUtf8(kHint.en), this);
        free = new QLineEdit(this);
        for (QWidget *widget : std::initializer_list<QWidget *>{box, hint, free})
            layout->addWidget(widget);
    }

    bool ValidatePage() override
    {
        if (free->text().isEmpty())
            return FailOnField(lang::QtText(kEmptyRule), *free, FailureOrder::MessageThenPage);
        return true;
    }

    QCheckBox *box;
    QLabel *hint;
    QLineEdit *free;
    int initCalls = 0;

protected:
    void OnInitPage() override { ++initCalls; }
    std::vector<ControlLabel> Labels() override { return {{box, kBoxLabel}, {hint, kHint}}; }
};

} // namespace

class ParameterPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A language code without texts keeps the texts the page was made with.
    void labelsAreSetOnceInTheLanguageOfInitialisation()
    {
        const std::tuple<int, QString, QString> rows[] = {
            {2, "Habilitar adicionar prefixo", QString::fromUtf8("[no máximo 20 caracteres]")},
            {5, "Enable Add Prefix", "[at most 20 characters]"},
        };
        for (const auto &[language, boxText, hintText] : rows) {
            LanguageScope scope(language);
            TestPageHost host;
            SamplePage page;
            page.InitPage(host);
            page.InitPage(host); // once only
            QCOMPARE(page.initCalls, 1);
            QCOMPARE(page.box->text() + " " + page.hint->text(), boxText + " " + hintText);
            lang::SetCode(lang::kSpanish);
            page.InitPage(host);
            QCOMPARE(page.box->text(), boxText);
        }
    }

    // An error box with the program's caption, then the page to the front
    // and the field focused; with no language there is no text to tell.
    void firstFailureTellsShowsThePageAndSelectsTheField()
    {
        for (int language : {lang::kEnglish, 0}) {
            LanguageScope scope(language);
            TestPageHost host;
            BoxRecorder recorder(host);
            SamplePage page;
            QVERIFY(ShowActive(page, host));
            QVERIFY(!page.ValidatePage());
            QTRY_VERIFY(page.free->hasFocus());
            if (!language) {
                QCOMPARE(host.events, QStringList{"show 186"});
                continue;
            }
            QCOMPARE(recorder.boxes.size(), 1);
            QCOMPARE(recorder.boxes.front().style, 16);
            QCOMPARE(recorder.boxes.front().caption, QStringLiteral("Kestrel Manager"));
            QCOMPARE(host.events,
                     (QStringList{"box Please input the General Password.", "show 186"}));
        }
    }

    void textsWithANumber()
    {
        LanguageScope scope(lang::kPortuguese);
        QCOMPARE(lang::QtText(kPositionRule, {811}),
                 QString::fromUtf8("Por favor, insira um número na posição 0811!"));
        constexpr lang::Tr3 plain = {"Reading parameter %d ...", "Lendo parâmetro %d ...", "x %d"};
        QCOMPARE(lang::QtText(plain, {7}), QString::fromUtf8("Lendo parâmetro 7 ..."));
        constexpr lang::Tr3 none = {"a", "no number", "c"};
        QCOMPARE(lang::QtText(none, {7}), QStringLiteral("no number"));
        lang::SetCode(9);
        QVERIFY(lang::QtText(plain, {7}).isEmpty());
    }

    void enterAndEscapeStayInThePage()
    {
        TestPageHost host;
        QDialog dialog;
        auto *page = new SamplePage;
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(page);
        page->InitPage(host);
        dialog.show();
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(page->free, Qt::Key(key));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        // Also when the page itself has the focus.
        QTest::keyClick(page, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
    }

    void pagesArePaintedGrey()
    {
        TestPageHost host;
        SamplePage page;
        page.InitPage(host);
        const QImage image = page.grab().toImage();
        QCOMPARE(image.pixelColor(image.width() - 2, image.height() - 2), QColor(234, 234, 234));
    }

    // ---- the factory ---------------------------------------------------------------------

    // Each page asks a read for what the catalogue's read list says.
    void factoryServesElevenTemplates()
    {
        for (size_t index = 0; index < params::kPageCount; ++index) {
            const int templateId = params::PageTemplate(static_cast<Page>(index));
            std::unique_ptr<CParameterPage> page = CreateParameterPage(templateId);
            QVERIFY(page);
            QCOMPARE(page->TemplateId(), templateId);
            ReadLists appended, expected;
            page->AppendReadItems(appended);
            params::AppendPageReadItems(static_cast<Page>(index), expected);
            QCOMPARE(appended.numbers, expected.numbers);
            QCOMPARE(appended.atCommands, expected.atCommands);
            QCOMPARE(appended.atArguments, expected.atArguments);
            QCOMPARE(appended.atNames, expected.atNames);
        }
        for (int id : {0, 100, 102, 145, 190, 1369})
            QVERIFY(!CreateParameterPage(id));
    }

    void valuesAreShownAndTakenAsTheirBytes()
    {
        TestPageHost host;
        SamplePage page;
        page.InitPage(host);
        const std::string value = "se\xF1"
                                  "a\x80\x81";
        CParameterPage::ShowValue(page.free, value);
        QCOMPARE(page.free->text().size(), 6);
        QCOMPARE(page.free->text().at(2), QChar(0xF1));
        QCOMPARE(CParameterPage::ValueOf(page.free), value);
    }
};

KESTREL_QT_TEST(ParameterPageTest)
#include "parameter_page_test.moc"
