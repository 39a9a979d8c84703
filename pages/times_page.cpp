#include "pages/times_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "params/clock_text.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"
#include "params/text_value.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

using namespace field_tests;

// clang-format off
constexpr lang::Tr3 kTimeoutBox{" Enable Timeout", "Alterar tempo de discagem",
                                "Ajustar el tiempo de marcación/discado"};
constexpr lang::Tr3 kTimeoutLabel{"Timeout:", "Tempo:", "Tiempo:"};
constexpr lang::Tr3 kTimeoutHint{"1 ~ 9 seconds", "1~9 segundos", "1~9 segundos"};
constexpr lang::Tr3 kClockBox{" Change Date and Time", "Alterar data e hora",
                              "Ajustar la fecha y hora"};
constexpr lang::Tr3 kDateLabel{"Date:", "Data: ", "Fecha:"};
constexpr lang::Tr3 kDateHint{"(DDMMYY)", "(DDMMAA)", "(DDMMAA)"};
constexpr lang::Tr3 kClockTimeLabel{"Time:", "Hora:", "Hora:"};
constexpr lang::Tr3 kClockTimeHint{"(HHMM)", "(HHMM)", "(HHMM)"};
constexpr lang::Tr3 kOutgoingBox{"Restrict Outgoing Time", "Tempo máximo da ligação originada",
                                 "Tiempo máximo de la llamada originada"};
constexpr lang::Tr3 kIncomingBox{"Restrict Incoming Time", "Tempo máximo da ligação recebida",
                                 "Tiempo máximo de la llamada recibida"};
constexpr lang::Tr3 kFlashBox{"Change Flash Time", "Tempo de flash", "Tiempo de flash"};
constexpr lang::Tr3 kLimitLabel{"Time:", "Tempo:", "Tiempo:"};
constexpr lang::Tr3 kMinutesHint{"1~180 minutes", "1~180 minutos", "1~180 minutos"};
constexpr lang::Tr3 kFlashHint{"80~2000 ms", "80~2000 ms", "80~2000 ms"};

// A number counts by its leading digits; an empty one is 0.
const FieldRule kTimeoutRules[] = {
    {Empty,
     {"Please input a Timeout.", "Por favor, insira o tempo de discagem.",
      "Por favor introduzca el tiempo de marcación/discado."}},
    {OutOfRange,
     {"Error: The Timeout must be between 1 and 9 seconds!",
      "Erro: O tempo de discagem deve ser entre 1 e 9 segundos!",
      "Error: El tiempo de marcación/discado debe ser entre 1 y 9 segundos!"}},
};
const FieldRule kDateRules[] = {
    {WrongLength,
     {"Please input a correct Date format (DDMMYY).",
      "Por favor, insira a Data no formado (DDMMAA).",
      "Por favor introduzca la fecha em el formato (DDMMAA)."}},
    // The terminal would refuse it only after everything else was written.
    {[](std::string_view v, const params::ValueForm &) { return !params::IsCalendarDate(v); },
     {"Error: The Date must be a valid calendar date (DDMMYY)!",
      "Erro: A Data deve ser uma data válida do calendário (DDMMAA)!",
      "Error: La fecha debe ser una fecha válida del calendario (DDMMAA)!"}},
};
const FieldRule kTimeRules[] = {
    {WrongLength,
     {"Please input a correct Time format (HHMM).", "Por favor, insira a Hora no formado (HHMM).",
      "Por favor introduzca la hora en el formato (HHMM)."}},
    {[](std::string_view v, const params::ValueForm &) { return !params::IsTimeOfDay(v); },
     {"Error: The Time must be between 0000 and 2359 (HHMM)!",
      "Erro: A Hora deve ser entre 0000 e 2359 (HHMM)!",
      "Error: La hora debe ser entre 0000 y 2359 (HHMM)!"}},
};
const FieldRule kFlashRules[] = {
    {OutOfRange,
     {"Error: The Flash Time must be between 80 and 2000 ms!",
      "Erro: O tempo de flash deve ser entre 80 e 2000 ms!",
      "Error: El tiempo de flash debe ser entre 80 y 2000 ms!"}},
};
const FieldRule kOutgoingRules[] = {
    {OutOfRange,
     {"Error: The Outgoing Time must be between 1 and 180 minutes!",
      "Erro: O tempo máximo da ligação originada deve ser entre 1 e 180 minutos!",
      "Error: El tiempo máximo de la llamada originada debe ser entre 1 y 180 minutos!"}},
};
const FieldRule kIncomingRules[] = {
    {OutOfRange,
     {"Error: The Incoming Time must be between 1 and 180 minutes!",
      "Erro: O tempo máximo da ligação recebida deve ser entre 1 e 180 minutos!",
      "Error: El tiempo máximo de la llamada recibida debe ser entre 1 y 180 minutos!"}},
};
// clang-format on

} // namespace

CTimesPage::CTimesPage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::Times), parent)
{
    using Accepts = FieldValidator::Accepts;
    PageForm form(*this);
    m_timeoutBox = form.AddCheckBox(kTimeoutBox);
    m_timeout = form.AddField(kTimeoutLabel, Accepts::Digits, 0, &kTimeoutHint).field;
    form.AddGap();
    m_clockBox = form.AddCheckBox(kClockBox);
    m_date = form.AddField(kDateLabel, Accepts::Digits, 0, &kDateHint).field;
    m_time = form.AddField(kClockTimeLabel, Accepts::Digits, 0, &kClockTimeHint).field;
    form.AddGap();
    m_outgoingBox = form.AddCheckBox(kOutgoingBox);
    m_outgoing = form.AddField(kLimitLabel, Accepts::Digits, 0, &kMinutesHint).field;
    form.AddGap();
    m_incomingBox = form.AddCheckBox(kIncomingBox);
    m_incoming = form.AddField(kLimitLabel, Accepts::Digits, 0, &kMinutesHint).field;
    form.AddGap();
    m_flashBox = form.AddCheckBox(kFlashBox);
    m_flash = form.AddField(kLimitLabel, Accepts::Digits, 0, &kFlashHint).field;
    form.Finish();
}

void CTimesPage::OnInitPage()
{
    AddGate({m_timeoutBox, {m_timeout}, {}});
    AddGate({m_clockBox, {m_date, m_time}, {}});
    AddGate({m_outgoingBox, {m_outgoing}, {}});
    AddGate({m_incomingBox, {m_incoming}, {}});
    AddGate({m_flashBox, {m_flash}, {}});
    connect(m_clockBox, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked)
            FillClock();
    });
}

void CTimesPage::FillClock()
{
    const QDateTime now = m_clock();
    const QDate date = now.date();
    const QTime time = now.time();
    // Two digits of the year; the same as the year less 2000 in this century.
    m_date->setText(QString::asprintf("%02d%02d%02d", date.day(), date.month(), date.year() % 100));
    m_time->setText(QString::asprintf("%02d%02d", time.hour(), time.minute()));
}

bool CTimesPage::ValidatePage()
{
    using params::FormOf;
    const bool clock = m_clockBox->isChecked();
    return CheckFields(*this, {
                                  {m_timeout, ValueOf(m_timeout), FormOf(Slot::DialTimeout),
                                   kTimeoutRules, m_timeoutBox->isChecked()},
                                  {m_date, ValueOf(m_date), FormOf(Slot::Date), kDateRules, clock},
                                  {m_time, ValueOf(m_time), FormOf(Slot::Time), kTimeRules, clock},
                                  {m_flash, ValueOf(m_flash), FormOf(Slot::FlashTime), kFlashRules,
                                   m_flashBox->isChecked()},
                                  {m_outgoing, ValueOf(m_outgoing), FormOf(Slot::OutgoingLimit),
                                   kOutgoingRules, m_outgoingBox->isChecked()},
                                  {m_incoming, ValueOf(m_incoming), FormOf(Slot::IncomingLimit),
                                   kIncomingRules, m_incomingBox->isChecked()},
                              });
}

void CTimesPage::SaveToStore()
{
    ParameterStore &store = Store();
    auto gated = [](const QCheckBox *box, const QLineEdit *field) {
        return box->isChecked() ? ValueOf(field) : std::string();
    };
    store[Slot::DialTimeout] = gated(m_timeoutBox, m_timeout);
    // Unchecked, no clock goes out: the one a read brought is long past.
    store[Slot::Date] = gated(m_clockBox, m_date);
    store[Slot::Time] = gated(m_clockBox, m_time);
    StoreFlag(Slot::RestrictOutgoing, m_outgoingBox->isChecked());
    store[Slot::OutgoingLimit] = ValueOf(m_outgoing);
    store[Slot::FlashTime] = gated(m_flashBox, m_flash);
    StoreFlag(Slot::RestrictIncoming, m_incomingBox->isChecked());
    store[Slot::IncomingLimit] = ValueOf(m_incoming);
}

void CTimesPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(params::Page::Times, lists);
}

void CTimesPage::LoadFromStore()
{
    const ParameterStore &store = Store();
    const std::string &timeout = store[Slot::DialTimeout];
    const bool timeoutInRange = !params::OutOfRange(timeout, params::FormOf(Slot::DialTimeout));
    ShowValue(m_timeout,
              timeoutInRange ? std::to_string(text::LeadingNumber(timeout)) : std::string());
    // A clock read from the terminal is never shown.
    m_date->clear();
    m_time->clear();
    ShowValue(m_outgoing, store[Slot::OutgoingLimit]);
    ShowValue(m_flash, store[Slot::FlashTime]);
    ShowValue(m_incoming, store[Slot::IncomingLimit]);

    m_timeoutBox->setChecked(!m_timeout->text().isEmpty());
    m_clockBox->setChecked(false);
    m_flashBox->setChecked(!m_flash->text().isEmpty());
    m_outgoingBox->setChecked(store.IsOn(Slot::RestrictOutgoing));
    m_incomingBox->setChecked(store.IsOn(Slot::RestrictIncoming));
    ApplyGates();
}
