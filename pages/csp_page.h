#pragma once
// The carrier selection prefix (CSP): off, used for call back only, or used
// for all outgoing calls, and the two-digit CSP number. At most one of the
// two boxes is checked; with neither the CSP is off, unless a load said
// otherwise (then a number is still asked for).

#include "pages/parameter_page.h"

class QCheckBox;
class QLineEdit;

class CCspPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CCspPage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    QCheckBox *CallBackBox() const { return m_callBack; }
    QCheckBox *AllCallsBox() const { return m_allCalls; }
    QLineEdit *NumberField() const { return m_number; }
    bool NoneFlag() const { return m_none; }

private:
    // A click on one mode box clears the other; the CSP is off exactly
    // when the clicked box ends unchecked.
    void OnModeClicked(QCheckBox *clicked, QCheckBox *other);
    void UpdateNumberField();

    QCheckBox *m_callBack;
    QCheckBox *m_allCalls;
    QLineEdit *m_number;
    bool m_none = true;
};
