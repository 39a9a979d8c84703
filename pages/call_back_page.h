#pragma once
// Call back: the switch, three optional timings (each behind its own box,
// all behind the switch) and a list of up to 300 call back numbers
// (positions 1507 to 1806). With the switch off only the switch is stored;
// the timings and numbers in the store stay as they were (the numbers
// closed up, as the list stores them).

#include "pages/number_list.h"
#include "pages/parameter_page.h"

class QCheckBox;
class QLineEdit;
class CReportCtrl;

class CCallBackPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CCallBackPage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    QCheckBox *SwitchBox() const { return m_switch; }
    QCheckBox *TimeBox() const { return m_timeBox; }
    QLineEdit *TimeField() const { return m_time; }
    QCheckBox *AttemptsBox() const { return m_attemptsBox; }
    QLineEdit *AttemptsField() const { return m_attempts; }
    QCheckBox *AnswerBox() const { return m_answerBox; }
    QLineEdit *AnswerField() const { return m_answer; }
    QCheckBox *ListBox() const { return m_listBox; }
    CReportCtrl *List() const { return m_numbers.Control(); }

protected:
    void OnInitPage() override;

private:
    // A timing's edit and the list take input only while both the switch
    // and their own box are on.
    void EnableBehindSwitch();

    QCheckBox *m_switch;
    QCheckBox *m_timeBox;
    QLineEdit *m_time;
    QCheckBox *m_attemptsBox;
    QLineEdit *m_attempts;
    QCheckBox *m_answerBox;
    QLineEdit *m_answer;
    QCheckBox *m_listBox;
    NumberList m_numbers;
};
