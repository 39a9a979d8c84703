#include "pages/forward_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using params::Slot;

namespace {

// The no-answer times go in steps of 5 seconds through the catalogue's
// range, as two digits.
constexpr int kTimeStep = 5;

// clang-format off
constexpr lang::Tr3 kMasterBox{"Enable Call Waiting and Forward",
                               "Configurar chamada em espera e desvios",
                               "Habilitar llamada em espera y desvíos"};
constexpr lang::Tr3 kWaitingBox{" Call Waiting", "Habilitar chamada em espera",
                                "Habilitar llamada em espera"};
constexpr lang::Tr3 kUnconditionalBox{" Forward Unconditional", "Habilitar desvio sempre",
                                      "Habilitar desvío siempre"};
constexpr lang::Tr3 kBusyBox{" Forward When Busy", "Habilitar desvio se ocupado",
                             "Habilitar desvío si ocupado"};
constexpr lang::Tr3 kNoAnswerBox{" Forward When No Answer", "Habilitar desvio se não atende",
                                 "Habilitar desvío si no contesta"};
constexpr lang::Tr3 kTimeLabel{"Time:", "Tempo:", "Tiempo:"};
constexpr lang::Tr3 kSecondsHint{"(s)", "(s)", "(s)"};
constexpr lang::Tr3 kOffOrNotFoundBox{"Forward When Turned Off or Not Found",
                                      "Habilitar desvio se desligado",
                                      "Habilitar desvío si apagado"};
constexpr lang::Tr3 kNumberLabel{"Forward Number:", "Número:", "Número:"};
constexpr lang::Tr3 kNumberHint{"[at most 20 characters]", "[no máximo 20 caracteres]",
                                "[máximo 20 caracteres]"};

const FieldRule kNumberRules[] = {
    {field_tests::Empty,
     {"Please input the Forward Number.", "Por favor, insira o número de desvio.",
      "Por favor introduzca el número de desvío."}},
    {field_tests::TooLong,
     {"Error: The Forward Number no more than 20 characters!",
      "Erro: O número de desvio não pode ter mais de 20 caracteres!",
      "Error: El número de desvío no puede tener más de 20 caracteres!"}},
    // An international number: "+" and at least one digit.
    {field_tests::BadCharacters,
     {"Error: Only the characters (+,0,1,...,9) are allowed in the Forward Number!",
      "Erro: Somente os caracteres (+,0,1,...,9) são permitidos no número de desvio!",
      "Error: Sólo los caracteres (+, 0,1,...,9) se permiten en el número de desvío!"}},
};
// clang-format on

} // namespace

CForwardPage::CForwardPage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::Forward), parent)
{
    PageForm form(*this);
    m_master = form.AddCheckBox(kMasterBox);
    form.AddGap();
    m_waiting = form.AddCheckBox(kWaitingBox);
    m_unconditional = form.AddCheckBox(kUnconditionalBox);
    m_busy = form.AddCheckBox(kBusyBox);
    m_noAnswer = form.AddCheckBox(kNoAnswerBox);
    m_time = new QComboBox(this);
    m_time->setEditable(true);
    const params::SlotInfo &time = params::InfoOf(Slot::NoAnswerTime);
    for (int seconds = time.form.minValue; seconds <= time.form.maxValue; seconds += kTimeStep)
        m_time->addItem(
            QStringLiteral("%1").arg(seconds, time.form.minLength, 10, QLatin1Char('0')));
    m_time->setCurrentIndex(m_time->findText(QString::fromLatin1(time.defaultText)));
    FieldValidator::Attach(m_time->lineEdit(), FieldValidator::Accepts::Digits);
    form.AddControl(kTimeLabel, m_time, &kSecondsHint);
    m_offOrNotFound = form.AddCheckBox(kOffOrNotFoundBox);
    form.AddGap();
    m_number =
        form.AddField(kNumberLabel, FieldValidator::Accepts::DialDigits, 0, &kNumberHint).field;
    form.Finish();

    // The call waiting box keeps its own state until the master box is
    // first clicked.
    for (QCheckBox *box : ForwardingBoxes())
        box->setEnabled(false);
    UpdateFields();

    connect(m_master, &QCheckBox::clicked, this, [this] { OnMasterClicked(); });
    // Which boxes a checked box clears.
    const Exclusion exclusions[] = {
        {m_unconditional, {m_busy, m_noAnswer, m_offOrNotFound, m_waiting}},
        {m_busy, {m_unconditional, m_waiting}},
        {m_offOrNotFound, {m_unconditional, m_waiting}},
        {m_noAnswer, {m_unconditional, m_waiting}},
        {m_waiting, {m_unconditional, m_busy, m_noAnswer, m_offOrNotFound}},
    };
    for (const Exclusion &exclusion : exclusions) {
        connect(exclusion.box, &QCheckBox::clicked, this,
                [this, exclusion] { OnConditionClicked(exclusion); });
    }
}

std::vector<QCheckBox *> CForwardPage::ForwardingBoxes() const
{
    return {m_unconditional, m_busy, m_noAnswer, m_offOrNotFound};
}

bool CForwardPage::AnyForwarding() const
{
    for (const QCheckBox *box : ForwardingBoxes()) {
        if (box->isChecked())
            return true;
    }
    return false;
}

void CForwardPage::OnMasterClicked()
{
    const bool on = m_master->isChecked();
    m_waiting->setEnabled(on);
    for (QCheckBox *box : ForwardingBoxes())
        box->setEnabled(on);
    m_callWaitingIncluded = on;
    m_forwardingIncluded = on;
    // What a read asks for and what its import takes follow the box at
    // once, not only after the next Transmit or Save.
    ParameterStore &store = Store();
    store.waitingForwardEnabled = on;
    store.callWaitingIncluded = on;
    store.forwardingIncluded = on;
    UpdateFields();
}

void CForwardPage::OnConditionClicked(const Exclusion &exclusion)
{
    if (exclusion.box->isChecked()) {
        for (QCheckBox *other : exclusion.unchecks)
            other->setChecked(false);
    }
    UpdateFields();
}

void CForwardPage::UpdateFields()
{
    const bool on = m_master->isChecked();
    m_number->setEnabled(on && AnyForwarding());
    m_time->setEnabled(on && m_noAnswer->isChecked());
}

bool CForwardPage::ValidatePage()
{
    if (!m_master->isChecked())
        return true;
    // The boxes exclude each other when clicked; a load can still bring
    // excluded ones together. No message, but the page comes forward.
    const bool othersWithUnconditional =
        m_busy->isChecked() || m_noAnswer->isChecked() || m_offOrNotFound->isChecked();
    if (m_unconditional->isChecked() && othersWithUnconditional)
        return FailWith(QString(), {});
    if (m_waiting->isChecked() && AnyForwarding())
        return FailWith(QString(), {});
    // The time is taken as it stands.
    return CheckFields(*this, {{m_number, ValueOf(m_number), params::FormOf(Slot::ForwardNumber),
                                kNumberRules, AnyForwarding()}});
}

void CForwardPage::SaveToStore()
{
    ParameterStore &store = Store();
    const bool on = m_master->isChecked();
    // Off, the page sends and reads nothing, whatever it said before.
    store.waitingForwardEnabled = on;
    store.callWaitingIncluded = on && m_callWaitingIncluded;
    store.forwardingIncluded = on && m_forwardingIncluded;
    if (!on)
        return;
    if (m_callWaitingIncluded)
        StoreFlag(Slot::CallWaiting, m_waiting->isChecked());
    if (m_forwardingIncluded) {
        StoreFlag(Slot::ForwardUnconditional, m_unconditional->isChecked());
        StoreFlag(Slot::ForwardBusy, m_busy->isChecked());
        StoreFlag(Slot::ForwardNoAnswer, m_noAnswer->isChecked());
        store[Slot::NoAnswerTime] = ValueOf(m_time->lineEdit());
        StoreFlag(Slot::ForwardOffOrNotFound, m_offOrNotFound->isChecked());
        store[Slot::ForwardNumber] = ValueOf(m_number);
    }
}

void CForwardPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(
        params::Page::Forward, lists,
        {m_master->isChecked(), m_callWaitingIncluded, m_forwardingIncluded});
}

void CForwardPage::LoadFromStore()
{
    if (!m_master->isChecked())
        return;
    const ParameterStore &store = Store();
    if (m_callWaitingIncluded)
        m_waiting->setChecked(store.IsOn(Slot::CallWaiting));
    if (m_forwardingIncluded) {
        m_unconditional->setChecked(store.IsOn(Slot::ForwardUnconditional));
        m_busy->setChecked(store.IsOn(Slot::ForwardBusy));
        m_noAnswer->setChecked(store.IsOn(Slot::ForwardNoAnswer));
        m_offOrNotFound->setChecked(store.IsOn(Slot::ForwardOffOrNotFound));
        ShowValue(m_number, store[Slot::ForwardNumber]);
        ShowValue(m_time->lineEdit(), store[Slot::NoAnswerTime]);
    }
    UpdateFields();
}
