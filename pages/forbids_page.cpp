#include "pages/forbids_page.h"

#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"
#include "widgets/report_ctrl.h"

#include <QCheckBox>
#include <QLabel>

using params::Slot;

namespace {

// clang-format off
constexpr lang::Tr3 kLongDistanceBox{"Enable Long Distance Call Block", "Habilitar bloqueio DDD",
                                     "Habilitar el bloqueo de LDN"};
constexpr lang::Tr3 kInternationalBox{"Enable International Call Block", "Habilitar bloqueio DDI",
                                      "Habilitar el bloqueo de LDI"};
constexpr lang::Tr3 kIncomingBox{"Enable Incoming Call Block",
                                 "Habilitar bloqueio de ligações entrantes",
                                 "Habilitar el bloqueo de llamadas entrantes"};
constexpr lang::Tr3 kListBox{"Enable Prefixes and Numbers Block",
                             "Habilitar bloqueio de prefixos e números",
                             "Habilitar el bloqueo de Prefijos y números"};
constexpr lang::Tr3 kHint{"[at most 20 characters]", "[no máximo 20 caracteres]",
                          "[máximo 20 caracteres]"};

// The digits rule has two blanks before the position in English.
const NumberListRules kRules{
    {"Error: Only numbers (0,1,2,...,9) are allowed in the position  %04d!",
     "Erro: Somente são permitidos números (0,1,2,...,9) na posição %04d!",
     "Error: Sólo se permiten números (0,1,2,...,9) en la posición %04d!"},
    {"Error: Number of over 20 characters in the position %04d!",
     "Erro: Número com mais de 20 caracteres na posição %04d!",
     "Error: Número de más de 20 caracteres en la posición %04d!"},
    {"Please input a number in the position %04d!",
     "Por favor, insira um número na posição %04d!",
     "Por favor introduzca un número en la posición %04d!"},
};
// clang-format on

const NumberListShape kShape{
    {"Prefix/Number", "Prefixo/Número", "Prefijo/Número"},
    50,
    150,
    params::kForbiddenList,
    [](int position) { return QStringLiteral("%1").arg(position, 4, 10, QLatin1Char('0')); },
};

} // namespace

CForbidsPage::CForbidsPage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::Forbids), parent), m_numbers(*this, kShape)
{
    PageForm form(*this);
    m_longDistance = form.AddCheckBox(kLongDistanceBox);
    m_international = form.AddCheckBox(kInternationalBox);
    m_incoming = form.AddCheckBox(kIncomingBox);
    m_listBox = form.AddCheckBox(kListBox);
    form.AddWide(m_numbers.Control(), 1);
    form.AddWide(NewLabel(kHint));
    // The list is never disabled: the box decides only whether its rows
    // are checked and stored. Its first click fills a list never loaded.
    connect(m_listBox, &QCheckBox::clicked, this, [this] {
        if (!m_numbers.HasRows())
            Refill();
    });
}

void CForbidsPage::OnInitPage()
{
    m_numbers.SetUp();
    // The list was made before the boxes above it; Tab goes top to bottom.
    setTabOrder(m_listBox, m_numbers.Control());
}

void CForbidsPage::Refill()
{
    m_numbers.Fill(Store().forbidden);
}

bool CForbidsPage::ValidatePage()
{
    if (!m_listBox->isChecked())
        return true;
    return m_numbers.CheckRows(kRules);
}

void CForbidsPage::SaveToStore()
{
    m_numbers.FinishEdit();
    StoreFlag(Slot::LongDistanceBlock, m_longDistance->isChecked());
    StoreFlag(Slot::InternationalBlock, m_international->isChecked());
    StoreFlag(Slot::IncomingBlock, m_incoming->isChecked());
    StoreFlag(Slot::PrefixNumberBlock, m_listBox->isChecked());
    ParameterStore &store = Store();
    store.forbidden.fill({});
    if (m_listBox->isChecked())
        m_numbers.StoreInto(store.forbidden);
}

void CForbidsPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(params::Page::Forbids, lists);
}

void CForbidsPage::LoadFromStore()
{
    const ParameterStore &store = Store();
    m_longDistance->setChecked(store.IsOn(Slot::LongDistanceBlock));
    m_international->setChecked(store.IsOn(Slot::InternationalBlock));
    m_incoming->setChecked(store.IsOn(Slot::IncomingBlock));
    m_listBox->setChecked(store.IsOn(Slot::PrefixNumberBlock));
    Refill();
}
