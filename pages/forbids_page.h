#pragma once
// Call barring: four switches and a fixed list of 20 barred prefixes or
// numbers (positions 0811 to 0830), checked and stored only while the
// prefixes and numbers block is on.

#include "pages/number_list.h"
#include "pages/parameter_page.h"

class QCheckBox;
class CReportCtrl;

class CForbidsPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CForbidsPage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    QCheckBox *LongDistanceBox() const { return m_longDistance; }
    QCheckBox *InternationalBox() const { return m_international; }
    QCheckBox *IncomingBox() const { return m_incoming; }
    QCheckBox *ListBox() const { return m_listBox; }
    CReportCtrl *List() const { return m_numbers.Control(); }

protected:
    void OnInitPage() override;

private:
    void Refill();

    QCheckBox *m_longDistance;
    QCheckBox *m_international;
    QCheckBox *m_incoming;
    QCheckBox *m_listBox;
    NumberList m_numbers;
};
