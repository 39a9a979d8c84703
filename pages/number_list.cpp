#include "pages/number_list.h"

#include "params/text_value.h"
#include "widgets/code_page.h"
#include "widgets/report_ctrl.h"

#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

namespace {

// The pages' style word and column formats: grid lines and editing in
// place; the position column never takes the cell focus.
constexpr unsigned kListStyle = 0x10B1;
constexpr unsigned kPositionFormat = 0x04044002;
constexpr unsigned kNumberFormat = 0x00044002;

constexpr lang::Tr3 kPositionHeader{"Position", "Posição", "Posición"};
constexpr lang::Tr3 kEmptyText{"Empty", "Vazio", "Vacío"};

} // namespace

NumberList::NumberList(CParameterPage &page, const NumberListShape &shape)
    : m_page(page), m_shape(shape), m_list(new CReportCtrl(&page))
{
    // Wide enough for both columns and the scroll bar, no wider.
    m_list->setFixedWidth(shape.positionWidth + shape.numberWidth +
                          m_list->verticalScrollBar()->sizeHint().width() +
                          2 * m_list->frameWidth() + 2);
    // Any character the files can carry may be typed; the rules then name
    // what is not a number.
    m_list->SetEditorValidator([](QLineEdit *editor) {
        return FieldValidator::Attach(editor, FieldValidator::Accepts::CodePageNoControl);
    });
}

void NumberList::SetUp()
{
    m_list->ModifyStyle(0, kListStyle);
    m_list->InsertColumn(0, lang::QtLabel(kPositionHeader), kPositionFormat, m_shape.positionWidth);
    m_list->InsertColumn(1, lang::QtLabel(m_shape.numberHeader), kNumberFormat,
                         m_shape.numberWidth);
    m_list->SetEmptyText(lang::QtLabel(kEmptyText));
    m_page.NameControl(m_list, m_shape.numberHeader);
}

bool NumberList::HoldsNumber(std::string_view entry)
{
    return !entry.empty() && !params::IsBlankRecord(entry);
}

bool NumberList::HasRows() const
{
    return m_list->RowCount() > 0;
}

void NumberList::DeleteRows()
{
    m_list->DeleteAllRows();
}

void NumberList::CreateEmptyRows()
{
    DeleteRows();
    for (int row = 0; row < int(m_shape.list.count); ++row)
        m_list->InsertRow(row, m_shape.positionText(Position(row)));
}

void NumberList::Fill(std::span<const std::string> entries)
{
    CreateEmptyRows();
    ShowStored(entries);
}

void NumberList::ShowStored(std::span<const std::string> entries)
{
    for (size_t row = 0; row < size_t(m_list->RowCount()); ++row) {
        const bool shown = row < entries.size() && HoldsNumber(entries[row]);
        m_list->SetCellText(int(row), 1, shown ? codepage::ToQString(entries[row]) : QString());
    }
}

void NumberList::CloseUp(std::span<std::string> entries)
{
    const auto end = std::stable_partition(entries.begin(), entries.end(), HoldsNumber);
    std::fill(end, entries.end(), std::string());
}

std::string NumberList::Number(int row) const
{
    return codepage::ToBytes(m_list->CellText(row, 1));
}

void NumberList::FinishEdit()
{
    m_list->FinishEdit();
}

void NumberList::StoreInto(std::span<std::string> entries)
{
    for (size_t row = 0; row < entries.size(); ++row)
        entries[row] = Number(int(row));
    CloseUp(entries);
    ShowStored(entries);
}

bool NumberList::CheckRows(const NumberListRules &rules)
{
    FinishEdit();
    bool anyNumber = false;
    for (int row = 0; row < m_list->RowCount(); ++row) {
        const std::string number = Number(row);
        if (number.empty())
            continue;
        anyNumber = true;
        const lang::Tr3 *broken = nullptr;
        if (params::BadCharacters(number, m_shape.list.form))
            broken = &rules.notDigits;
        else if (params::TooLong(number, m_shape.list.form))
            broken = &rules.tooLong;
        if (broken)
            return m_page.FailOnRow(lang::QtText(*broken, {Position(row)}), *m_list, row);
    }
    if (!anyNumber)
        return m_page.FailOnRow(lang::QtText(rules.noneEntered, {Position(0)}), *m_list, 0);
    return true;
}
