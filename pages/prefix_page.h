#pragma once
// The automatic dialling prefix: a switch, the pre-numbers (single digits,
// each at most once, shown with a ";" after each) and a prefix of up to 16
// digits. The texts are stored whether the switch is on or not.

#include "pages/parameter_page.h"

class QCheckBox;
class QLineEdit;

class CPrefixPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CPrefixPage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    // Enables or disables the pre-number and prefix fields together.
    void EnablePrefixFields(bool enable);

    QCheckBox *SwitchBox() const { return m_switch; }
    QLineEdit *PreNumberField() const { return m_preNumbers; }
    QLineEdit *PrefixField() const { return m_prefix; }

protected:
    void OnInitPage() override;

private:
    void OnPreNumbersChanged(const QString &text);
    // The pre-number digits: the field's text without its separators.
    std::string PreNumberDigits() const;

    QCheckBox *m_switch;
    QLineEdit *m_preNumbers;
    QLineEdit *m_prefix;
    // The pre-number text as it was before the latest change.
    QString m_preNumberText;
};
