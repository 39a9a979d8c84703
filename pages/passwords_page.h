#pragma once
// Two unrelated passwords: the general password, written to the terminal
// with every transmission (checked only for a transmission, never read),
// and the software password, changed at once with its own Confirm button
// as a job of its own, outside Transmit.

#include "pages/parameter_page.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CPasswordsPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CPasswordsPage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void LoadFromStore() override;

    // The Confirm button: checks the three fields and starts the change.
    // false when a rule failed or the change could not be started.
    bool ChangeSoftwarePassword();

    QCheckBox *ChangeBox() const { return m_changeBox; }
    QLineEdit *OldField() const { return m_old; }
    QLineEdit *NewField() const { return m_new; }
    QLineEdit *ConfirmField() const { return m_confirm; }
    QPushButton *ConfirmButton() const { return m_confirmButton; }
    QLineEdit *GeneralField() const { return m_general; }

protected:
    void OnInitPage() override;

private:
    QCheckBox *m_changeBox;
    QLineEdit *m_old;
    QLineEdit *m_new;
    QLineEdit *m_confirm;
    QPushButton *m_confirmButton;
    QLineEdit *m_general;
};
