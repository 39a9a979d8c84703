#pragma once
// The SIM PIN: whether the terminal asks for it at start-up (sent with every
// Transmit), and a PIN change that its own Confirm button checks and stores;
// the host writes it into a parameter file of its own and sends it at once
// with a write job.

#include "pages/parameter_page.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CSecurityCodePage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CSecurityCodePage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    // The Confirm button: checks the change fields and starts the PIN
    // change. false when a rule refused or nothing was started.
    bool ChangePin();

    QCheckBox *StartUpBox() const { return m_startUpBox; }
    QLineEdit *PinField() const { return m_pin; }
    QCheckBox *ChangeBox() const { return m_changeBox; }
    QLineEdit *OldPinField() const { return m_oldPin; }
    QLineEdit *NewPinField() const { return m_newPin; }
    QLineEdit *ConfirmPinField() const { return m_confirmPin; }
    QPushButton *ConfirmButton() const { return m_confirm; }

protected:
    void OnInitPage() override;

private:
    QCheckBox *m_startUpBox;
    QLineEdit *m_pin;
    QCheckBox *m_changeBox;
    QLineEdit *m_oldPin;
    QLineEdit *m_newPin;
    QLineEdit *m_confirmPin;
    QPushButton *m_confirm;
};
