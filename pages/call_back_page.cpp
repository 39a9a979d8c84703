#include "pages/call_back_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"
#include "params/text_value.h"
#include "widgets/report_ctrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

using params::Slot;

namespace {

// clang-format off
constexpr lang::Tr3 kSwitch{" Enable Call Back", "Habilitar call back", "Habilitar call back"};
constexpr lang::Tr3 kTimeBox{" Call Back Time", "Tempo de call back", "Tiempo de call back"};
constexpr lang::Tr3 kAttemptsBox{" Call Back Num Count", "Número de tentativas do call back",
                                 "Número de intentos del call back"};
constexpr lang::Tr3 kAnswerBox{" Time to Answer Call Back", "Tempo de atendimento do call back",
                               "Tiempo de contestación del call back"};
constexpr lang::Tr3 kListBox{" Call Back Number List", "Inserir números na lista de call back",
                             "Insertar números"};
constexpr lang::Tr3 kTimeLabel{"Time:", "Tempo:", "Tiempo:"};
constexpr lang::Tr3 kCounterLabel{"Counter:", "Tentativas:", "Intentos:"};
constexpr lang::Tr3 kSecondsHint{"1 ~ 99 seconds", "1~99 segundos", "1~99 segundos"};
constexpr lang::Tr3 kCounterHint{"1 ~ 10", "1 ~ 10", "1 ~ 10"};
constexpr lang::Tr3 kListHint{"[at most 20 characters] ", "[no máximo 20 caracteres]",
                              "[máximo 20 caracteres]"};

// A timing counts by its leading digits; an empty one is 0.
const FieldRule kTimeRules[] = {
    {field_tests::OutOfRange,
     {"Error: The Call Back Time must be between 1 and 99 seconds!",
      "Erro: O tempo de call back deve ser entre 1 e 99 segundos!",
      "Error: El tiempo de call back debe ser entre 1 y 99 segundos!"}}};
const FieldRule kAttemptsRules[] = {
    {field_tests::OutOfRange,
     {"Error: The Call Back Nun Cout must be between 1 and 10!",
      "Erro: O número de tentativas do call back deve ser entre 1 e 10!",
      "Error: El número de intentos del call back debe ser entre 1 y 10!"}}};
const FieldRule kAnswerRules[] = {
    {field_tests::OutOfRange,
     {"Error: The Time to Answer Call Back must be between 1 and 99 seconds!",
      "Erro: O tempo de atendimento do call back deve ser entre 1 e 99 segundos!",
      "Error: El tiempo de contestación del call debe ser entre 1 y 99 segundos!"}}};

constexpr lang::Tr3 kSelectList{"Please select the Call Back Number List box.",
                                "Por favor. Selecione a opção Configurar lista de call back.",
                                "Por favor seleccione la opción insertar números."};

// The digits rule has two blanks before the position in English and
// Portuguese, a colon right before it in all three.
const NumberListRules kRules{
    {"Error: Only numbers (0,1,...,9) are allowed in the position  :%d!",
     "Erro: Somente são permitidos números (0,1,...,9) na posição :%d!",
     "Error: Sólo se permiten números (0,1,2,...,9) en la posición :%d!"},
    {"Error: Number of over 20 characters in the position %d!",
     "Erro: Número com mais de 20 caracteres na posição %d!",
     "Error: Número de más de 20 caracteres en la posición %d!"},
    {"Please input a number in the Call Back Number List.",
     "Por favor, insira um número na lista de call back.",
     "Por favor introduzca un número en la lista de call back."},
};
// clang-format on

const NumberListShape kShape{
    {"Call Back Number", "Número", "Número"},
    60,
    185,
    params::kCallBackList,
    [](int position) { return QStringLiteral("  %1").arg(position); },
};

} // namespace

CCallBackPage::CCallBackPage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::CallBack), parent), m_numbers(*this, kShape)
{
    // Each timing's box, label, field and hint share one line, so that the
    // list has the room below.
    using Accepts = FieldValidator::Accepts;
    PageForm form(*this, PageForm::Fields::Boxed);
    m_switch = form.AddCheckBox(kSwitch);
    const FieldRow time = form.AddBoxedField(kTimeBox, kTimeLabel, Accepts::Digits, kSecondsHint);
    const FieldRow attempts =
        form.AddBoxedField(kAttemptsBox, kCounterLabel, Accepts::Digits, kCounterHint);
    const FieldRow answer =
        form.AddBoxedField(kAnswerBox, kTimeLabel, Accepts::Digits, kSecondsHint);
    m_timeBox = time.box;
    m_time = time.field;
    m_attemptsBox = attempts.box;
    m_attempts = attempts.field;
    m_answerBox = answer.box;
    m_answer = answer.field;
    m_listBox = NewCheckBox(kListBox);
    form.AddWide(m_listBox, 0, true);
    form.AddWide(m_numbers.Control(), 1, true);
    form.AddWide(NewLabel(kListHint), 0, true);

    connect(m_listBox, &QCheckBox::clicked, this, [this] {
        if (m_listBox->isChecked() && !m_numbers.HasRows())
            m_numbers.CreateEmptyRows();
    });
}

void CCallBackPage::OnInitPage()
{
    m_numbers.SetUp();
    AddGate({m_switch, {m_timeBox, m_attemptsBox, m_answerBox, m_listBox}, {}, false});
    AddGate({m_timeBox, {m_time}, {}, true, true});
    AddGate({m_attemptsBox, {m_attempts}, {}, true, true});
    AddGate({m_answerBox, {m_answer}, {}, true, true});
    // After the gates' own handlers, which know one box each.
    for (QCheckBox *box : {m_switch, m_listBox})
        connect(box, &QCheckBox::clicked, this, &CCallBackPage::EnableBehindSwitch);
    EnableBehindSwitch();
}

void CCallBackPage::EnableBehindSwitch()
{
    const bool on = m_switch->isChecked();
    m_time->setEnabled(on && m_timeBox->isChecked());
    m_attempts->setEnabled(on && m_attemptsBox->isChecked());
    m_answer->setEnabled(on && m_answerBox->isChecked());
    m_numbers.Control()->setEnabled(on && m_listBox->isChecked());
}

bool CCallBackPage::ValidatePage()
{
    m_numbers.FinishEdit();
    if (!m_switch->isChecked())
        return true;
    using params::FormOf;
    if (!CheckFields(*this, {{m_time, ValueOf(m_time), FormOf(Slot::CallBackTime), kTimeRules,
                              m_timeBox->isChecked()},
                             {m_attempts, ValueOf(m_attempts), FormOf(Slot::CallBackAttempts),
                              kAttemptsRules, m_attemptsBox->isChecked()},
                             {m_answer, ValueOf(m_answer), FormOf(Slot::AnswerCallBackTime),
                              kAnswerRules, m_answerBox->isChecked()}}))
        return false;
    if (!m_listBox->isChecked())
        return FailWith(lang::QtText(kSelectList), {}, FailureOrder::MessageOnly);
    return m_numbers.CheckRows(kRules);
}

void CCallBackPage::SaveToStore()
{
    m_numbers.FinishEdit();
    ParameterStore &store = Store();
    const bool on = m_switch->isChecked();
    StoreFlag(Slot::CallBack, on);
    if (!on) {
        // The numbers stay as they were, closed up like the rows' (a blank
        // record read from the terminal is no number to send back); the rows
        // keep what they hold for when call back is switched on again.
        NumberList::CloseUp(store.callBack);
        return;
    }
    store[Slot::CallBackTime] = m_timeBox->isChecked() ? ValueOf(m_time) : std::string();
    store[Slot::CallBackAttempts] =
        m_attemptsBox->isChecked() ? ValueOf(m_attempts) : std::string();
    store[Slot::AnswerCallBackTime] = m_answerBox->isChecked() ? ValueOf(m_answer) : std::string();
    store.callBack.fill({});
    if (m_listBox->isChecked())
        m_numbers.StoreInto(store.callBack);
}

void CCallBackPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(params::Page::CallBack, lists);
}

void CCallBackPage::LoadFromStore()
{
    const ParameterStore &store = Store();
    m_numbers.DeleteRows();
    const bool on = store.IsOn(Slot::CallBack);
    m_switch->setChecked(on);
    ShowValue(m_time, store[Slot::CallBackTime]);
    ShowValue(m_attempts, store[Slot::CallBackAttempts]);
    // The answer time is shown as its number: "05" as "5".
    const std::string &answer = store[Slot::AnswerCallBackTime];
    ShowValue(m_answer, answer.empty() ? answer : std::to_string(text::LeadingNumber(answer)));
    m_timeBox->setChecked(!m_time->text().isEmpty());
    m_attemptsBox->setChecked(!m_attempts->text().isEmpty());
    m_answerBox->setChecked(!m_answer->text().isEmpty());
    // With the switch on the list box is on even without a number.
    const bool anyNumber =
        std::any_of(store.callBack.begin(), store.callBack.end(), NumberList::HoldsNumber);
    m_listBox->setChecked(anyNumber || on);
    if (m_listBox->isChecked())
        m_numbers.Fill(store.callBack);
    ApplyGates();
    EnableBehindSwitch();
}
