#include "widgets/report_model.h"

namespace {

QString Cut(const QString &text)
{
    return text.left(ReportModel::kMaxCellText);
}

// A position outside 0..count appends.
int Placed(int index, int count)
{
    return index < 0 || index > count ? count : index;
}

} // namespace

int ReportModel::InsertColumn(int index, const QString &header, unsigned format)
{
    const int at = Placed(index, columnCount());
    if (format <= 2)
        format |= kFormatPlainBit;
    beginInsertColumns({}, at, at);
    m_columns.insert(m_columns.begin() + at, Column{header, format});
    for (std::vector<QString> &cells : m_rows)
        cells.insert(cells.begin() + at, QString());
    endInsertColumns();
    return at;
}

int ReportModel::InsertRow(int index, const QString &firstText)
{
    if (m_columns.empty())
        return -1;
    const int at = Placed(index, rowCount());
    beginInsertRows({}, at, at);
    std::vector<QString> cells(m_columns.size());
    cells.front() = Cut(firstText);
    m_rows.insert(m_rows.begin() + at, std::move(cells));
    endInsertRows();
    return at;
}

bool ReportModel::SetCellText(int row, int column, const QString &text)
{
    if (!HasCell(row, column))
        return false;
    m_rows[row][column] = Cut(text);
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
    return true;
}

QString ReportModel::CellText(int row, int column) const
{
    return HasCell(row, column) ? m_rows[row][column] : QString();
}

void ReportModel::RemoveAllRows()
{
    if (m_rows.empty())
        return;
    beginRemoveRows({}, 0, rowCount() - 1);
    m_rows.clear();
    endRemoveRows();
}

unsigned ReportModel::Format(int column) const
{
    return column >= 0 && column < columnCount() ? m_columns[column].format : 0;
}

bool ReportModel::TakesFocus(int column) const
{
    return column >= 0 && column < columnCount() && !(Format(column) & kFormatNoFocus);
}

int ReportModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ReportModel::data(const QModelIndex &index, int role) const
{
    if (!HasCell(index.row(), index.column()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_rows[index.row()][index.column()];
    case Qt::TextAlignmentRole:
        // Numbers of different lengths read best from a common left edge;
        // the column's format places its header.
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].header;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alignment(section));
    return {};
}

Qt::ItemFlags ReportModel::flags(const QModelIndex &index) const
{
    if (!HasCell(index.row(), index.column()))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Editable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ReportModel::HasCell(int row, int column) const
{
    return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
}

Qt::Alignment ReportModel::Alignment(int column) const
{
    switch (Format(column) & kFormatAlignMask) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
