#pragma once
// Call waiting and the four call forwarding conditions of the SIM's
// subscription. They are no terminal parameters but AT+CCWA and AT+CCFC
// settings, read and written only while the master box is checked. Call
// waiting excludes every forwarding, and unconditional forwarding every
// other condition.

#include "pages/parameter_page.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

class CForwardPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CForwardPage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    QCheckBox *MasterBox() const { return m_master; }
    QCheckBox *WaitingBox() const { return m_waiting; }
    QCheckBox *UnconditionalBox() const { return m_unconditional; }
    QCheckBox *BusyBox() const { return m_busy; }
    QCheckBox *NoAnswerBox() const { return m_noAnswer; }
    QCheckBox *OffOrNotFoundBox() const { return m_offOrNotFound; }
    QComboBox *TimeBox() const { return m_time; }
    QLineEdit *NumberField() const { return m_number; }
    bool CallWaitingIncluded() const { return m_callWaitingIncluded; }
    bool ForwardingIncluded() const { return m_forwardingIncluded; }

private:
    struct Exclusion
    {
        QCheckBox *box;
        std::vector<QCheckBox *> unchecks;
    };

    void OnMasterClicked();
    void OnConditionClicked(const Exclusion &exclusion);
    // The number and the time follow the boxes that need them.
    void UpdateFields();
    bool AnyForwarding() const;
    std::vector<QCheckBox *> ForwardingBoxes() const;

    QCheckBox *m_master;
    QCheckBox *m_waiting;
    QCheckBox *m_unconditional;
    QCheckBox *m_busy;
    QCheckBox *m_noAnswer;
    QComboBox *m_time;
    QCheckBox *m_offOrNotFound;
    QLineEdit *m_number;
    bool m_callWaitingIncluded = false;
    bool m_forwardingIncluded = false;
};
