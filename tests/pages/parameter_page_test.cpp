// The page base: labelling, the first-failure report, keys and colour; the
// factory that makes the eleven pages; and every page's rules against the
// bounds of the parameter catalogue.

#include "page_test_support.h"
#include "pages/call_back_page.h"
#include "pages/csp_page.h"
#include "pages/forbids_page.h"
#include "pages/forward_page.h"
#include "pages/page_factory.h"
#include "pages/passwords_page.h"
#include "pages/prefix_page.h"
#include "pages/security_code_page.h"
#include "pages/times_page.h"
#include "pages/volume_page.h"
#include "widgets/report_ctrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
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
            return FailOnField(lang::QtText(kEmptyRule), free, order);
        if (box->isChecked() && first->text() == QLatin1String("bad"))
            return FailOnRow(lang::QtText(kPositionRule, {811 + 4}), list, 4, order);
        return true;
    }

    QCheckBox *box;
    QLabel *hint;
    QLineEdit *first, *second, *free;
    QTableWidget *list;
    FailureOrder order = FailureOrder::MessageThenPage;
    int initCalls = 0;

protected:
    void OnInitPage() override
    {
        ++initCalls;
        AddGate({box, {first, second}, {}, true, false});
    }
    std::vector<ControlLabel> Labels() override { return {{box, kBoxLabel}, {hint, kHint}}; }
};

// ---- a field's rules against its form in the catalogue ----------------------

// The field could not hold the value, or the check reported it there.
bool Refused(const QLineEdit *field, const QString &value)
{
    return field->text() != value || field->hasSelectedText();
}

bool Validated(CParameterPage &page, std::initializer_list<QAbstractButton *> boxes,
               QLineEdit *field, const QString &value)
{
    for (QAbstractButton *box : boxes)
        box->click();
    field->setText(value);
    page.ValidatePage();
    return Refused(field, value);
}

template <class P> using BoxOf = QCheckBox *(P::*)() const;
template <class P> using FieldOf = QLineEdit *(P::*)() const;

// The field of a page of type P, after a click on each of the boxes.
template <class P, FieldOf<P> field, BoxOf<P>... boxes>
bool Field(CParameterPage &page, const QString &value)
{
    P &typed = dynamic_cast<P &>(page);
    return Validated(page, {(typed.*boxes)()...}, (typed.*field)(), value);
}

// The first row of a page's list.
template <class P, BoxOf<P>... boxes> bool FirstRow(CParameterPage &page, const QString &value)
{
    P &typed = dynamic_cast<P &>(page);
    for (QCheckBox *box : {(typed.*boxes)()...})
        box->click();
    typed.List()->SetCellText(0, 1, value);
    page.ValidatePage();
    return typed.List()->selectionModel()->isRowSelected(0, {});
}

// A change with its own button: the old value "1234", the value as the new
// one and as its confirmation.
template <class P, BoxOf<P> box, FieldOf<P> oldField, FieldOf<P> newField, FieldOf<P> confirm,
          bool (P::*change)()>
bool Change(CParameterPage &page, const QString &value)
{
    P &typed = dynamic_cast<P &>(page);
    (typed.*box)()->click();
    (typed.*oldField)()->setText(QStringLiteral("1234"));
    (typed.*newField)()->setText(value);
    (typed.*confirm)()->setText(value);
    (typed.*change)();
    return Refused((typed.*newField)(), value);
}

struct FormProbe
{
    const char *name;
    Page page;
    params::ValueForm form;
    // Switches the field on, gives it the value, runs the page's check and
    // says whether the value was refused.
    bool (*refuses)(CParameterPage &page, const QString &value);
};

// The values at the edges of the form, each with whether it lies outside:
// the values where the form bounds them, otherwise the lengths.
std::vector<std::pair<QString, bool>> Edges(const params::ValueForm &form)
{
    auto number = [&form](int n) {
        return QStringLiteral("%1").arg(n, form.minLength, 10, QLatin1Char('0'));
    };
    auto digits = [](int count) {
        QString text;
        for (int i = 1; i <= count; ++i)
            text += QLatin1Char(char('0' + i % 10));
        return text;
    };
    if (form.maxValue) {
        std::vector<std::pair<QString, bool>> edges{{number(form.minValue), false},
                                                    {number(form.maxValue), false},
                                                    {number(form.maxValue + 1), true}};
        if (form.minValue > 0)
            edges.emplace_back(number(form.minValue - 1), true);
        return edges;
    }
    std::vector<std::pair<QString, bool>> edges{{digits(form.maxLength), false},
                                                {digits(form.maxLength + 1), true}};
    if (form.minLength > 1) {
        edges.emplace_back(digits(form.minLength), false);
        edges.emplace_back(digits(form.minLength - 1), true);
    }
    return edges;
}

} // namespace

class ParameterPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsAreSetOnceInTheLanguageOfInitialisation_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("hintText");
        QTest::newRow("Portuguese")
            << 2 << "Habilitar adicionar prefixo" << QString::fromUtf8("[no máximo 20 caracteres]");
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

    void firstFailureTellsShowsThePageAndSelectsTheField_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("pageFirst");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << 1 << false << "Please input the General Password.";
        QTest::newRow("Portuguese, page first") << 2 << true << "Por favor, insira a senha geral.";
        QTest::newRow("no language: no box") << 0 << false << "";
    }

    void firstFailureTellsShowsThePageAndSelectsTheField()
    {
        QFETCH(int, language);
        QFETCH(bool, pageFirst);
        QFETCH(QString, message);
        LanguageScope scope(language);
        TestPageHost host;
        BoxRecorder recorder(host);
        SamplePage page;
        page.order = pageFirst ? CParameterPage::FailureOrder::PageThenMessage
                               : CParameterPage::FailureOrder::MessageThenPage;
        QVERIFY(ShowActive(page, host));
        page.free->setText({});

        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.shownPages, std::vector<int>{186});
        QTRY_VERIFY(page.free->hasFocus());
        if (message.isEmpty()) {
            QVERIFY(recorder.boxes.isEmpty());
            return;
        }
        QCOMPARE(recorder.boxes.size(), 1);
        QCOMPARE(recorder.boxes.front().text, message);
        QCOMPARE(recorder.boxes.front().style, 16);
        QCOMPARE(recorder.boxes.front().caption, QStringLiteral("Kestrel Manager"));
        const QStringList expected = pageFirst ? QStringList{"show 186", "box " + message}
                                               : QStringList{"box " + message, "show 186"};
        QCOMPARE(host.events, expected);
    }

    void failureSelectsTheWholeTextAndListRows()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        SamplePage page;
        page.InitPage(host);
        page.free->setText(QStringLiteral("x"));
        page.box->setChecked(true);
        page.first->setText(QStringLiteral("bad"));
        QVERIFY(!page.ValidatePage());
        QCOMPARE(recorder.boxes.back().text,
                 QString::fromUtf8("Please input a number in the position 0815!"));
        QCOMPARE(page.list->currentRow(), 4);
        QVERIFY(page.list->selectionModel()->isRowSelected(4, {}));

        QVERIFY(!page.FailOnField(QString(), page.second));
        page.second->setText(QStringLiteral("4711"));
        QVERIFY(!page.FailOnField(QString(), page.second));
        QCOMPARE(page.second->selectedText(), QStringLiteral("4711"));
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
        }
        for (int id : {0, 100, 102, 145, 190, 1369})
            QVERIFY(!CreateParameterPage(id));
    }

    void everyPageTakesItsBoundsFromTheCatalogue()
    {
        using params::FormOf;
        const FormProbe probes[] = {
            {"general password", Page::Passwords, FormOf(Slot::GeneralPassword),
             Field<CPasswordsPage, &CPasswordsPage::GeneralField>},
            {"new software password", Page::Passwords, params::kSoftwarePasswordForm,
             Change<CPasswordsPage, &CPasswordsPage::ChangeBox, &CPasswordsPage::OldField,
                    &CPasswordsPage::NewField, &CPasswordsPage::ConfirmField,
                    &CPasswordsPage::ChangeSoftwarePassword>},
            {"forbidden number", Page::Forbids, params::kForbiddenList.form,
             FirstRow<CForbidsPage, &CForbidsPage::ListBox>},
            {"pre-numbers", Page::Prefix, FormOf(Slot::PreNumbers),
             Field<CPrefixPage, &CPrefixPage::PreNumberField, &CPrefixPage::SwitchBox>},
            {"prefix", Page::Prefix, FormOf(Slot::Prefix),
             Field<CPrefixPage, &CPrefixPage::PrefixField, &CPrefixPage::SwitchBox>},
            {"CSP number", Page::Csp, FormOf(Slot::CspNumber),
             Field<CCspPage, &CCspPage::NumberField, &CCspPage::CallBackBox>},
            {"forward number", Page::Forward, FormOf(Slot::ForwardNumber),
             Field<CForwardPage, &CForwardPage::NumberField, &CForwardPage::MasterBox,
                   &CForwardPage::BusyBox>},
            {"PIN code", Page::SecurityCode, FormOf(Slot::PinCode),
             Field<CSecurityCodePage, &CSecurityCodePage::PinField>},
            {"new PIN", Page::SecurityCode, FormOf(Slot::NewPin),
             Change<CSecurityCodePage, &CSecurityCodePage::ChangeBox,
                    &CSecurityCodePage::OldPinField, &CSecurityCodePage::NewPinField,
                    &CSecurityCodePage::ConfirmPinField, &CSecurityCodePage::ChangePin>},
            {"dial timeout", Page::Times, FormOf(Slot::DialTimeout),
             Field<CTimesPage, &CTimesPage::TimeoutField, &CTimesPage::TimeoutBox>},
            {"outgoing limit", Page::Times, FormOf(Slot::OutgoingLimit),
             Field<CTimesPage, &CTimesPage::OutgoingField, &CTimesPage::OutgoingBox>},
            {"incoming limit", Page::Times, FormOf(Slot::IncomingLimit),
             Field<CTimesPage, &CTimesPage::IncomingField, &CTimesPage::IncomingBox>},
            {"flash time", Page::Times, FormOf(Slot::FlashTime),
             Field<CTimesPage, &CTimesPage::FlashField, &CTimesPage::FlashBox>},
            {"TX volume", Page::Volume, FormOf(Slot::TxVolume),
             Field<CVolumePage, &CVolumePage::TxField, &CVolumePage::TxBox>},
            {"RX volume", Page::Volume, FormOf(Slot::RxVolume),
             Field<CVolumePage, &CVolumePage::RxField, &CVolumePage::RxBox>},
            {"call back time", Page::CallBack, FormOf(Slot::CallBackTime),
             Field<CCallBackPage, &CCallBackPage::TimeField, &CCallBackPage::SwitchBox,
                   &CCallBackPage::TimeBox>},
            {"call back attempts", Page::CallBack, FormOf(Slot::CallBackAttempts),
             Field<CCallBackPage, &CCallBackPage::AttemptsField, &CCallBackPage::SwitchBox,
                   &CCallBackPage::AttemptsBox>},
            {"time to answer call back", Page::CallBack, FormOf(Slot::AnswerCallBackTime),
             Field<CCallBackPage, &CCallBackPage::AnswerField, &CCallBackPage::SwitchBox,
                   &CCallBackPage::AnswerBox>},
            {"call back number", Page::CallBack, params::kCallBackList.form,
             FirstRow<CCallBackPage, &CCallBackPage::SwitchBox, &CCallBackPage::ListBox>},
        };
        for (const FormProbe &probe : probes) {
            for (const auto &[value, outside] : Edges(probe.form)) {
                TestPageHost host;
                BoxRecorder recorder(host);
                std::unique_ptr<CParameterPage> page =
                    CreateParameterPage(params::PageTemplate(probe.page));
                page->InitPage(host);
                QVERIFY2(probe.refuses(*page, value) == outside,
                         qPrintable(QStringLiteral("%1 \"%2\"").arg(probe.name, value)));
            }
        }
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
