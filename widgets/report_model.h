#pragma once
// The rows and columns behind CReportCtrl: a header text and a format word
// per column, one text per cell. Every text is cut to kMaxCellText
// characters when it is stored, so no cell ever holds more.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

class ReportModel : public QAbstractTableModel
{
public:
    static constexpr int kMaxCellText = 255;
    // Format words: the low two bits align the column (0 left, 1 right,
    // 2 centre); a column with kFormatNoFocus never takes the cell focus.
    static constexpr unsigned kFormatAlignMask = 0x3;
    static constexpr unsigned kFormatNoFocus = 0x04000000;
    // A bare alignment (0, 1 or 2) is stored with this bit added.
    static constexpr unsigned kFormatPlainBit = 0x4000;

    using QAbstractTableModel::QAbstractTableModel;

    // Both return the index where the column or row went (a too large or
    // negative index appends), or -1 when a row cannot be made because the
    // list has no columns.
    int InsertColumn(int index, const QString &header, unsigned format);
    int InsertRow(int index, const QString &firstText);
    bool SetCellText(int row, int column, const QString &text);
    // Empty for a cell that does not exist.
    QString CellText(int row, int column) const;
    void RemoveAllRows();

    unsigned Format(int column) const;
    bool TakesFocus(int column) const;
    bool Editable(int column) const { return TakesFocus(column); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Column
    {
        QString header;
        unsigned format = 0;
    };
    bool HasCell(int row, int column) const;
    Qt::Alignment Alignment(int column) const;

    std::vector<Column> m_columns;
    std::vector<std::vector<QString>> m_rows; // each as long as m_columns
};
