#pragma once
// The base of the eleven parameter pages. The host creates each page once,
// stacks it in its page area and drives all pages alike through four
// operations, always in page order: ValidatePage (the first refusal stops
// the pass), SaveToStore, AppendReadItems and LoadFromStore.
//
// Shared by every page, so that none copies them: labelling by language at
// initialisation, the enable pattern (a check box gating fields) and the
// report of the first failing rule.

#include "params/catalogue.h"
#include "params/language.h"
#include "widgets/code_page.h"
#include "widgets/qt_text.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class IPageServices;
struct ParameterStore;
struct ReadLists;
class QAbstractButton;
class QAbstractItemView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The size of the page area when the main window first opens; every page
// fits it, and a page takes whatever room the window gives it.
inline constexpr int kPageWidth = 600;
inline constexpr int kPageHeight = 440;

class CParameterPage : public QWidget
{
    Q_OBJECT
public:
    explicit CParameterPage(int templateId, QWidget *parent = nullptr);
    ~CParameterPage() override;

    int TemplateId() const { return m_templateId; }

    // The page's initialisation, run once by the host right after creation:
    // the host is taken, the page sets up its controls and enable states
    // (OnInitPage) and then labels them in the current language (Labels).
    void InitPage(IPageServices &host);
    bool Initialised() const { return m_initialised; }

    // Activation hooks, called by the host.
    virtual void OnPageShow() {}
    virtual void OnPageHide() {}
    virtual void OnAfterCreate() {}
    virtual void OnBeforeDestroy() {}

    // Checks the input; at the first failing rule the page tells the user,
    // comes to the front and returns false.
    virtual bool ValidatePage() { return true; }
    virtual void SaveToStore() {}
    // Appends what a read must ask the terminal for this page.
    virtual void AppendReadItems(ReadLists &) {}
    virtual void LoadFromStore() {}

    // ---- labelling ---------------------------------------------------------
    struct ControlLabel
    {
        QWidget *control; // label, button, check box, group box or edit (placeholder)
        lang::Tr3 text;
    };
    // Sets each control's text in the language; a code outside 1..3 gives
    // the English texts, the ones the controls are made with.
    static void LabelControls(const std::vector<ControlLabel> &labels, int languageCode);

    // ---- the enable pattern ----------------------------------------------------
    struct Gate
    {
        QAbstractButton *box = nullptr;
        std::vector<QWidget *> gated;        // enabled exactly when the box is checked
        std::vector<QWidget *> gatedWhenOff; // enabled exactly when it is not
        // A click moves the focus into the first field it enabled.
        bool moveFocus = true;
        // A click that unchecks the box empties the gated edit fields.
        bool emptyWhenUnchecked = false;
    };
    // Binds the box's clicks to the gate and sets the fields' states now; every
    // page gates with a box it made.
    void AddGate(Gate gate);
    // Sets every gated field's state from its box, without moving the focus
    // or emptying anything (after a load).
    void ApplyGates();

    // ---- the first failure -------------------------------------------------------
    // MessageThenPage: message box, page to the front, offender selected.
    // PageThenMessage: page to the front, offender selected, message box.
    // MessageOnly: the message box alone; the page is not brought forward
    // and nothing is selected.
    enum class FailureOrder { MessageThenPage, PageThenMessage, MessageOnly };
    // Shows the message in the application's message box (none without a
    // text, as for a language code outside 1..3: the rule still fails),
    // brings this page to the front with WM_SHOW_PAGE and selects the
    // offender, in the order given. Always returns false.
    bool FailWith(const QString &message, const std::function<void()> &selectOffender,
                  FailureOrder order = FailureOrder::MessageThenPage);
    // ... selecting the whole text of an edit field and focusing it.
    bool FailOnField(const QString &message, QLineEdit &field,
                     FailureOrder order = FailureOrder::MessageThenPage);
    // ... selecting and focusing a row of a list.
    bool FailOnRow(const QString &message, QAbstractItemView &list, int row,
                   FailureOrder order = FailureOrder::MessageThenPage);

    // ---- controls ------------------------------------------------------------------
    // Controls made with their texts in the three languages. They are made
    // with the English text and shown in the current language from the
    // page's initialisation on; their accessible names follow (a check box
    // or button by its text, a field by its label: see NameField).
    QCheckBox *NewCheckBox(const lang::Tr3 &text);
    QPushButton *NewButton(const lang::Tr3 &text);
    QLabel *NewLabel(const lang::Tr3 &text, QWidget *buddy = nullptr);
    // A field that takes what `accepts` says, at most maxLength characters
    // (0: no limit of its own; the page's rules check the length).
    enum class Echo { Normal, Password };
    QLineEdit *NewField(FieldValidator::Accepts accepts, int maxLength = 0,
                        Echo echo = Echo::Normal);
    // Names a control that has no label beside it (its accessible name).
    void NameControl(QWidget *control, const lang::Tr3 &name);
    // Names a field by its label; where the page has that label more than
    // once, by the label with its group (the box or heading it stands
    // under): "Change Flash Time, Time:".
    void NameField(QWidget *field, const lang::Tr3 &label, const std::optional<lang::Tr3> &group);

    // ---- values in fields ----------------------------------------------------------
    // The store's 8-bit texts shown in and taken from fields (Windows-1252).
    static void ShowValue(QLineEdit *field, const std::string &value);
    static std::string ValueOf(const QLineEdit *field);

protected:
    IPageServices *Host() const { return m_host; }
    // The host's store; a page not yet attached works on one of its own.
    ParameterStore &Store();
    // A switch stored in the form its slot takes ("01"/"00" or "1"/"0").
    void StoreFlag(params::Slot slot, bool on);

    // The page's part of the initialisation: enable states and the like.
    virtual void OnInitPage() {}
    // What is relabelled for Portuguese and Spanish.
    virtual std::vector<ControlLabel> Labels() { return {}; }

    // Enter and Escape never leave the page.
    void keyPressEvent(QKeyEvent *event) override;
    // The page area's first size, or more where the page needs more.
    QSize sizeHint() const override;

private:
    void UpdateGate(const Gate &gate, bool clicked);
    struct FieldName
    {
        QWidget *field;
        lang::Tr3 label;
        std::optional<lang::Tr3> group;
    };

    void AddOwnLabel(const ControlLabel &label);
    // The accessible names of the buttons, fields and named controls.
    void ApplyNames(int languageCode);

    const int m_templateId;
    IPageServices *m_host = nullptr;
    bool m_initialised = false;
    std::vector<Gate> m_gates;
    std::vector<ControlLabel> m_ownLabels;    // made by New...
    std::vector<ControlLabel> m_controlNames; // NameControl
    std::vector<FieldName> m_fieldNames;
    std::unique_ptr<ParameterStore> m_detachedStore;
};
