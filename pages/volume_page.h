#pragma once
// Handset transmit (TX) and receive (RX) volume levels, each changed only
// while its box is checked; their forms are the catalogue's. A failure shows
// the page and selects the field before the message box comes up.

#include "pages/parameter_page.h"

class QCheckBox;
class QLineEdit;

class CVolumePage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CVolumePage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    QCheckBox *TxBox() const { return m_txBox; }
    QLineEdit *TxField() const { return m_tx; }
    QCheckBox *RxBox() const { return m_rxBox; }
    QLineEdit *RxField() const { return m_rx; }

protected:
    void OnInitPage() override;

private:
    QCheckBox *m_txBox;
    QLineEdit *m_tx;
    QCheckBox *m_rxBox;
    QLineEdit *m_rx;
};
