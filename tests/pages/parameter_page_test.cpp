// The page base: labelling, the enable pattern, the first-failure report,
// keys and colour; and the interim pages made from the catalogue.

#include "page_test_host.h"
#include "pages/interim_page.h"
#include "pages/page_factory.h"
#include "pages/page_form.h"
#include "widgets/app_message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QAccessible>
#include <QPushButton>
#include <QtTest>

using params::Page;
using params::Slot;

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

// A small page in the manner of the real ones: a box gating two fields,
// a free field and a list.
class SamplePage : public CParameterPage
{
public:
    SamplePage() : CParameterPage(186)
    {
        auto *layout = new QVBoxLayout(this);
        box = new QCheckBox(QString::fromUtf8(kBoxLabel.en), this);
        hint = new QLabel(QString::fromUtf8(kHint.en), this);
        first = new QLineEdit(this);
        second = new QLineEdit(this);
        free = new QLineEdit(this);
        list = new QTableWidget(20, 2, this);
        for (QWidget *widget :
             std::initializer_list<QWidget *>{box, hint, first, second, free, list})
            layout->addWidget(widget);
    }

    bool ValidatePage() override
    {
        if (free->text().isEmpty())
            return FailOnField(InLanguage(kEmptyRule), free, order);
        if (box->isChecked() && first->text() == QLatin1String("bad"))
            return FailOnRow(InLanguage(kPositionRule, 811 + 4), list, 4, order);
        return true;
    }

    // The three fields as the user sees them: "(text)" when disabled.
    QString Fields() const
    {
        QStringList fields;
        for (const QLineEdit *field : {first, second, free})
            fields << (field->isEnabled() ? field->text() : "(" + field->text() + ")");
        return fields.join(QLatin1Char('|'));
    }

    QCheckBox *box;
    QLabel *hint;
    QLineEdit *first, *second, *free;
    QTableWidget *list;
    bool emptyWhenUnchecked = false;
    FailureOrder order = FailureOrder::MessageThenPage;
    int initCalls = 0;

protected:
    void OnInitPage() override
    {
        ++initCalls;
        AddGate({box, {first, second}, {}, true, emptyWhenUnchecked});
    }
    std::vector<ControlLabel> Labels() override { return {{box, kBoxLabel}, {hint, kHint}}; }
};

// A page made the way the real ones are: its controls carry their texts in
// the three languages and are laid out by the shared form.
constexpr lang::Tr3 kTimeoutLabel = {"Timeout:", "Tempo:", "Tiempo:"};
constexpr lang::Tr3 kConfirm = {"Confirm", "Alterar", "Cambiar"};
constexpr lang::Tr3 kListName = {"Position", "Posição", "Posición"};

class FormPage : public CParameterPage
{
public:
    FormPage() : CParameterPage(192)
    {
        PageForm form(*this);
        box = form.AddCheckBox(kBoxLabel);
        row = form.AddField(kTimeoutLabel, FieldValidator::Accepts::Digits, 3, &kHint);
        button = NewButton(kConfirm);
        form.AddWide(button);
        unlabelled = NewField(FieldValidator::Accepts::CodePage);
        NameControl(unlabelled, kListName);
        form.AddWide(unlabelled);
        form.Finish();
    }
    QCheckBox *box;
    FieldRow row;
    QPushButton *button;
    QLineEdit *unlabelled;
};

QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}


class LanguageScope
{
public:
    explicit LanguageScope(int code) { lang::SetCode(code); }
    ~LanguageScope() { lang::SetCode(lang::kEnglish); }
};

} // namespace

class ParameterPageTest : public QObject
{
    Q_OBJECT

private:
    QStringList *m_events = nullptr;
    QList<ShownMessage> m_boxes;

private Q_SLOTS:
    void init()
    {
        m_boxes.clear();
        SetMessageBoxHook([this](const ShownMessage &message) {
            m_boxes.append(message);
            if (m_events)
                *m_events << QStringLiteral("box ") + message.text;
        });
    }
    void cleanup()
    {
        SetMessageBoxHook({});
        m_events = nullptr;
    }

    void labelsAreSetOnceInTheLanguageOfInitialisation_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("hintText");
        QTest::newRow("English") << 1 << "Enable Add Prefix"
                                 << "[at most 20 characters]";
        QTest::newRow("Portuguese")
            << 2 << "Habilitar adicionar prefixo" << QString::fromUtf8("[no máximo 20 caracteres]");
        QTest::newRow("Spanish") << 3 << "Habilitar prefijo"
                                 << QString::fromUtf8("[máximo 20 caracteres]");
        QTest::newRow("other code keeps the made texts") << 5 << "Enable Add Prefix"
                                                         << "[at most 20 characters]";
    }

    void labelsAreSetOnceInTheLanguageOfInitialisation()
    {
        QFETCH(int, language);
        QFETCH(QString, boxText);
        QFETCH(QString, hintText);
        LanguageScope scope(language);
        TestPageHost host;
        SamplePage page;
        page.InitPage(host);
        page.InitPage(host); // once only
        QCOMPARE(page.initCalls, 1);
        QCOMPARE(page.box->text(), boxText);
        QCOMPARE(page.hint->text(), hintText);
        lang::SetCode(lang::kSpanish == language ? lang::kPortuguese : lang::kSpanish);
        page.InitPage(host);
        QCOMPARE(page.box->text(), boxText);
    }

    void gateEnablesFocusesAndEmpties()
    {
        TestPageHost host;
        SamplePage page;
        page.emptyWhenUnchecked = true;
        page.InitPage(host);
        page.show();
        QApplication::setActiveWindow(&page);
        QVERIFY(QTest::qWaitForWindowActive(&page));
        QCOMPARE(page.Fields(), QStringLiteral("()|()|"));

        page.free->setFocus();
        QTest::mouseClick(page.box, Qt::LeftButton, {}, QPoint(4, page.box->height() / 2));
        QVERIFY(page.box->isChecked());
        QCOMPARE(page.Fields(), QStringLiteral("||"));
        QTRY_VERIFY(page.first->hasFocus());

        page.first->setText(QStringLiteral("12"));
        page.second->setText(QStringLiteral("34"));
        QTest::mouseClick(page.box, Qt::LeftButton, {}, QPoint(4, page.box->height() / 2));
        QCOMPARE(page.Fields(), QStringLiteral("()|()|"));

        // A load sets the box without a click: fields follow, nothing is emptied.
        page.first->setText(QStringLiteral("56"));
        page.box->setChecked(true);
        page.ApplyGates();
        QCOMPARE(page.Fields(), QStringLiteral("56||"));
    }

    void firstFailureTellsShowsThePageAndSelectsTheField_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("pageFirst");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << 1 << false << "Please input the General Password.";
        QTest::newRow("Portuguese, page first") << 2 << true << "Por favor, insira a senha geral.";
        QTest::newRow("Spanish") << 3 << false << "Por favor introduzca la general contraseña.";
        QTest::newRow("no language: no box") << 0 << false << "";
    }

    void firstFailureTellsShowsThePageAndSelectsTheField()
    {
        QFETCH(int, language);
        QFETCH(bool, pageFirst);
        QFETCH(QString, message);
        LanguageScope scope(language);
        TestPageHost host;
        m_events = &host.events;
        SamplePage page;
        page.order = pageFirst ? CParameterPage::FailureOrder::PageThenMessage
                               : CParameterPage::FailureOrder::MessageThenPage;
        page.InitPage(host);
        page.show();
        QApplication::setActiveWindow(&page);
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.free->setText({});

        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.shownPages, std::vector<int>{186});
        QTRY_VERIFY(page.free->hasFocus());
        if (message.isEmpty()) {
            QVERIFY(m_boxes.isEmpty());
            return;
        }
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes.front().text, message);
        QCOMPARE(m_boxes.front().style, 16);
        QCOMPARE(m_boxes.front().caption, QStringLiteral("Kestrel Manager"));
        const QStringList expected = pageFirst ? QStringList{"show 186", "box " + message}
                                               : QStringList{"box " + message, "show 186"};
        QCOMPARE(host.events, expected);
    }

    void failureSelectsTheWholeTextAndListRows()
    {
        TestPageHost host;
        SamplePage page;
        page.InitPage(host);
        page.free->setText(QStringLiteral("x"));
        page.box->setChecked(true);
        page.first->setText(QStringLiteral("bad"));
        QVERIFY(!page.ValidatePage());
        QCOMPARE(m_boxes.back().text,
                 QString::fromUtf8("Please input a number in the position 0815!"));
        QCOMPARE(page.list->currentRow(), 4);
        QVERIFY(page.list->selectionModel()->isRowSelected(4, {}));

        QVERIFY(!page.FailOnField(std::nullopt, page.second));
        page.second->setText(QStringLiteral("4711"));
        QVERIFY(!page.FailOnField(std::nullopt, page.second));
        QCOMPARE(page.second->selectedText(), QStringLiteral("4711"));
    }

    void textsWithANumber()
    {
        LanguageScope scope(lang::kPortuguese);
        QCOMPARE(CParameterPage::InLanguage(kPositionRule, 811).value_or("?"),
                 QString::fromUtf8("Por favor, insira um número na posição 0811!"));
        constexpr lang::Tr3 plain = {"Reading parameter %d ...", "Lendo parâmetro %d ...", "x %d"};
        QCOMPARE(CParameterPage::InLanguage(plain, 7).value_or("?"),
                 QString::fromUtf8("Lendo parâmetro 7 ..."));
        constexpr lang::Tr3 none = {"a", "no number", "c"};
        QCOMPARE(CParameterPage::InLanguage(none, 7).value_or("?"), QStringLiteral("no number"));
        lang::SetCode(9);
        QVERIFY(!CParameterPage::InLanguage(plain, 7));
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
        QCOMPARE(page.size(), QSize(kPageWidth, kPageHeight));
    }

    // ---- the factory and the interim pages -------------------------------------------

    void factoryServesElevenTemplates()
    {
        const QList<Page> kOwnClass = {Page::Passwords, Page::Forbids,      Page::Prefix,
                                       Page::Csp,       Page::Forward,      Page::RestrictedId,
                                       Page::SecurityCode, Page::Polarity,  Page::Times,
                                       Page::Volume,    Page::CallBack};
        for (size_t index = 0; index < params::kPageCount; ++index) {
            const auto kind = static_cast<Page>(index);
            std::unique_ptr<CParameterPage> page = CreateParameterPage(params::PageTemplate(kind));
            QVERIFY(page);
            QCOMPARE(page->TemplateId(), params::PageTemplate(kind));
            // Pages with a class of their own are tested with it.
            if (kOwnClass.contains(kind))
                continue;
            auto *interim = dynamic_cast<CInterimPage *>(page.get());
            QVERIFY(interim);
            QCOMPARE(interim->CataloguePage(), kind);
        }
        for (int id : {0, 100, 102, 145, 190, 1369})
            QVERIFY(!CreateParameterPage(id));
    }

    void interimPagesStoreAndLoadEverySlotAndEntry()
    {
        TestPageHost host;
        std::vector<std::unique_ptr<CInterimPage>> pages;
        for (size_t index = 0; index < params::kPageCount; ++index) {
            pages.push_back(std::make_unique<CInterimPage>(static_cast<Page>(index)));
            pages.back()->InitPage(host);
        }
        // Every slot with a page has a field on exactly that page.
        for (const params::SlotInfo &info : params::AllSlots()) {
            int found = 0;
            for (const auto &page : pages)
                found += page->FieldOf(info.slot) ? 1 : 0;
            QCOMPARE(found, info.pageTemplate ? 1 : 0);
        }
        QCOMPARE(pages[size_t(Page::Forbids)]->ListTable()->rowCount(), 20);
        QCOMPARE(pages[size_t(Page::Forbids)]->ListTable()->item(0, 0)->text(),
                 QStringLiteral("0811"));
        QCOMPARE(pages[size_t(Page::CallBack)]->ListTable()->rowCount(), 300);
        QCOMPARE(pages[size_t(Page::CallBack)]->ListTable()->item(299, 0)->text(),
                 QStringLiteral("1806"));
        QVERIFY(!pages[size_t(Page::Volume)]->ListTable());

        pages[size_t(Page::Volume)]->FieldOf(Slot::TxVolume)->setText(QStringLiteral("07"));
        pages[size_t(Page::Passwords)]
            ->FieldOf(Slot::GeneralPassword)
            ->setText(QString::fromUtf8("ção1"));
        pages[size_t(Page::Forbids)]->ListTable()->item(19, 1)->setText(QStringLiteral("0900"));
        pages[size_t(Page::CallBack)]->ListTable()->item(150, 1)->setText(
            QStringLiteral("5550150"));
        for (const auto &page : pages)
            page->SaveToStore();
        QCOMPARE(host.store[Slot::TxVolume], std::string("07"));
        QCOMPARE(host.store[Slot::GeneralPassword], std::string("ção1"));
        QCOMPARE(host.store.forbidden[19], std::string("0900"));
        QCOMPARE(host.store.callBack[150], std::string("5550150"));
        QCOMPARE(host.store.forbidden[0], std::string());

        host.store[Slot::RxVolume] = "3";
        host.store.callBack[150].clear();
        host.store.pinWriteMode = 2;
        for (const auto &page : pages)
            page->LoadFromStore();
        QCOMPARE(pages[size_t(Page::Volume)]->FieldOf(Slot::RxVolume)->text(), QStringLiteral("3"));
        QVERIFY(pages[size_t(Page::CallBack)]->ListTable()->item(150, 1)->text().isEmpty());
        QCOMPARE(pages[size_t(Page::Passwords)]->FieldOf(Slot::GeneralPassword)->text(),
                 QString::fromUtf8("ção1"));
        for (const auto &page : pages)
            QVERIFY(page->ValidatePage());
        QVERIFY(m_boxes.isEmpty());
    }

    void interimPagesAppendTheirReadItems()
    {
        TestPageHost host;
        for (bool forwardOn : {false, true}) {
            host.store.waitingForwardEnabled = forwardOn;
            host.store.callWaitingIncluded = forwardOn;
            host.store.forwardingIncluded = forwardOn;
            for (size_t index = 0; index < params::kPageCount; ++index) {
                const auto kind = static_cast<Page>(index);
                CInterimPage page(kind);
                page.InitPage(host);
                ReadLists appended, expected;
                page.AppendReadItems(appended);
                params::AppendPageReadItems(kind, expected, {forwardOn, forwardOn, forwardOn});
                QCOMPARE(appended.numbers, expected.numbers);
                QCOMPARE(appended.atCommands, expected.atCommands);
                QCOMPARE(appended.atArguments, expected.atArguments);
                QCOMPARE(appended.atNames, expected.atNames);
            }
        }
        ReadLists forward;
        CInterimPage page(Page::Forward);
        page.InitPage(host);
        page.AppendReadItems(forward);
        QCOMPARE(forward.AtQueryCount(), size_t(5));
    }

    void controlsSpeakTheLanguageAndAreNamedByWhatTheUserSees_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("texts"); // box, label, hint, button, unlabelled field
        QTest::newRow("English") << 1
                                 << QStringList{"Enable Add Prefix", "Timeout:",
                                                "[at most 20 characters]", "Confirm", "Position"};
        QTest::newRow("Portuguese")
            << 2
            << QStringList{"Habilitar adicionar prefixo", "Tempo:",
                           QString::fromUtf8("[no máximo 20 caracteres]"), "Alterar",
                           QString::fromUtf8("Posição")};
        QTest::newRow("Spanish") << 3
                                 << QStringList{"Habilitar prefijo", "Tiempo:",
                                                QString::fromUtf8("[máximo 20 caracteres]"),
                                                "Cambiar", QString::fromUtf8("Posición")};
    }

    void controlsSpeakTheLanguageAndAreNamedByWhatTheUserSees()
    {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        LanguageScope scope(language);
        TestPageHost host;
        FormPage page;
        page.InitPage(host);
        const QStringList shown{page.box->text(), page.row.label->text(), page.row.hint->text(),
                                page.button->text(), page.unlabelled->accessibleName()};
        QCOMPARE(shown, texts);
        const QStringList names{AccessibleName(page.box), AccessibleName(page.row.field),
                                AccessibleName(page.button), AccessibleName(page.unlabelled)};
        QCOMPARE(names, (QStringList{texts[0], texts[1], texts[3], texts[4]}));
        QCOMPARE(page.row.field->maxLength(), 3);
    }

    void valuesAreShownAndTakenAsTheirBytes()
    {
        TestPageHost host;
        FormPage page;
        page.InitPage(host);
        const std::string value = "se\xF1" "a\x80\x81";
        CParameterPage::ShowValue(page.unlabelled, value);
        QCOMPARE(page.unlabelled->text().size(), 6);
        QCOMPARE(page.unlabelled->text().at(2), QChar(0xF1));
        QCOMPARE(CParameterPage::ValueOf(page.unlabelled), value);
    }
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ParameterPageTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "parameter_page_test.moc"
