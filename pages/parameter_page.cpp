#include "pages/parameter_page.h"

#include "pages/page_services.h"
#include "params/parameter_store.h"
#include "widgets/accessible_names.h"
#include "widgets/app_message_box.h"
#include "widgets/qt_text.h"
#include "widgets/window_look.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

CParameterPage::CParameterPage(int templateId, QWidget *parent)
    : QWidget(parent), m_templateId(templateId)
{
    resize(kPageWidth, kPageHeight);
    // Children that paint a background of their own take the page colour too.
    ApplyWindowLook(*this);
}

CParameterPage::~CParameterPage() = default;

void CParameterPage::InitPage(IPageServices &host)
{
    if (m_initialised)
        return;
    m_host = &host;
    OnInitPage();
    const int code = lang::Code();
    LabelControls(m_ownLabels, code);
    LabelControls(Labels(), code);
    NameComboBoxesByLabel();
    ApplyNames(code);
    // A focused push button of a page would take Enter as a click.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    m_initialised = true;
}

ParameterStore &CParameterPage::Store()
{
    if (m_host)
        return m_host->Store();
    if (!m_detachedStore)
        m_detachedStore = std::make_unique<ParameterStore>();
    return *m_detachedStore;
}

void CParameterPage::StoreFlag(params::Slot slot, bool on)
{
    Store()[slot] = params::FlagText(slot, on);
}

// ---- controls ---------------------------------------------------------------

void CParameterPage::AddOwnLabel(const ControlLabel &label)
{
    m_ownLabels.push_back(label);
    if (m_initialised)
        LabelControls({label}, lang::Code());
}

QCheckBox *CParameterPage::NewCheckBox(const lang::Tr3 &text)
{
    auto *box = new QCheckBox(QString::fromUtf8(text.en), this);
    AddOwnLabel({box, text});
    return box;
}

QPushButton *CParameterPage::NewButton(const lang::Tr3 &text)
{
    auto *button = new QPushButton(QString::fromUtf8(text.en), this);
    AddOwnLabel({button, text});
    return button;
}

QLabel *CParameterPage::NewLabel(const lang::Tr3 &text, QWidget *buddy)
{
    auto *label = new QLabel(QString::fromUtf8(text.en), this);
    if (buddy)
        label->setBuddy(buddy);
    AddOwnLabel({label, text});
    return label;
}

QLineEdit *CParameterPage::NewField(FieldValidator::Accepts accepts, int maxLength, Echo echo)
{
    auto *field = new QLineEdit(this);
    FieldValidator::Attach(field, accepts);
    if (maxLength != 0)
        field->setMaxLength(maxLength);
    if (echo == Echo::Password)
        field->setEchoMode(QLineEdit::Password);
    return field;
}

void CParameterPage::NameControl(QWidget *control, const lang::Tr3 &name)
{
    m_controlNames.push_back({control, name});
    if (m_initialised)
        ApplyNames(lang::Code());
}

void CParameterPage::NameField(QWidget *field, const lang::Tr3 &label,
                               const std::optional<lang::Tr3> &group)
{
    if (!field)
        return;
    m_fieldNames.push_back({field, label, group});
    if (m_initialised)
        ApplyNames(lang::Code());
}

void CParameterPage::ApplyNames(int languageCode)
{
    for (QAbstractButton *button : findChildren<QAbstractButton *>())
        button->setAccessibleName(SpokenName(button->text()));
    QStringList labels;
    for (const FieldName &name : m_fieldNames)
        labels << SpokenName(lang::QtLabel(name.label, languageCode));
    for (size_t i = 0; i < m_fieldNames.size(); ++i) {
        const FieldName &name = m_fieldNames[i];
        QString spoken = labels[qsizetype(i)];
        if (name.group && labels.count(spoken) > 1)
            spoken = SpokenName(lang::QtLabel(*name.group, languageCode)) + QStringLiteral(", ") +
                     spoken;
        name.field->setAccessibleName(spoken);
        // The field of an editable combo box is what has the focus.
        if (auto *combo = qobject_cast<QComboBox *>(name.field); combo && combo->lineEdit())
            combo->lineEdit()->setAccessibleName(spoken);
    }
    for (const ControlLabel &name : m_controlNames)
        name.control->setAccessibleName(SpokenName(lang::QtLabel(name.text, languageCode)));
}

void CParameterPage::ShowValue(QLineEdit *field, const std::string &value)
{
    field->setText(codepage::ToQString(value));
}

std::string CParameterPage::ValueOf(const QLineEdit *field)
{
    return codepage::ToBytes(field->text());
}

// ---- labelling -------------------------------------------------------------

void CParameterPage::LabelControls(const std::vector<ControlLabel> &labels, int languageCode)
{
    for (const ControlLabel &label : labels) {
        if (!label.control)
            continue;
        const QString text = lang::QtLabel(label.text, languageCode);
        if (auto *staticText = qobject_cast<QLabel *>(label.control))
            staticText->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(label.control))
            button->setText(text);
        else if (auto *group = qobject_cast<QGroupBox *>(label.control))
            group->setTitle(text);
        else if (auto *edit = qobject_cast<QLineEdit *>(label.control))
            edit->setPlaceholderText(text);
    }
}

// ---- the enable pattern -------------------------------------------------------

void CParameterPage::AddGate(Gate gate)
{
    m_gates.push_back(gate);
    connect(gate.box, &QAbstractButton::clicked, this, [this, gate] { UpdateGate(gate, true); });
    UpdateGate(gate, false);
}

void CParameterPage::ApplyGates()
{
    for (const Gate &gate : m_gates)
        UpdateGate(gate, false);
}

void CParameterPage::UpdateGate(const Gate &gate, bool clicked)
{
    const bool on = gate.box->isChecked();
    for (QWidget *field : gate.gated)
        field->setEnabled(on);
    for (QWidget *field : gate.gatedWhenOff)
        field->setEnabled(!on);
    if (!clicked)
        return;
    if (!on && gate.emptyWhenUnchecked) {
        for (QWidget *field : gate.gated) {
            if (auto *edit = qobject_cast<QLineEdit *>(field))
                edit->clear();
        }
    }
    if (gate.moveFocus) {
        const std::vector<QWidget *> &enabled = on ? gate.gated : gate.gatedWhenOff;
        if (!enabled.empty())
            enabled.front()->setFocus(Qt::OtherFocusReason);
    }
}

// ---- the first failure -----------------------------------------------------------

bool CParameterPage::FailWith(const QString &message, const std::function<void()> &selectOffender,
                              FailureOrder order)
{
    auto tell = [&] {
        if (!message.isEmpty())
            AppMessageBox(this, message, platform::kStyleError);
    };
    if (order != FailureOrder::PageThenMessage)
        tell();
    if (order == FailureOrder::MessageOnly)
        return false;
    if (m_host)
        m_host->SendShowPage(m_templateId);
    if (selectOffender)
        selectOffender();
    if (order == FailureOrder::PageThenMessage)
        tell();
    return false;
}

bool CParameterPage::FailOnField(const QString &message, QLineEdit &field, FailureOrder order)
{
    return FailWith(
        message,
        [&field] {
            field.selectAll();
            field.setFocus(Qt::OtherFocusReason);
        },
        order);
}

bool CParameterPage::FailOnRow(const QString &message, QAbstractItemView &list, int row,
                               FailureOrder order)
{
    return FailWith(
        message,
        [&list, row] {
            const QModelIndex index = list.model()->index(row, 0);
            list.setCurrentIndex(index);
            list.selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
            list.scrollTo(index);
            list.setFocus(Qt::OtherFocusReason);
        },
        order);
}

// ---- input and painting ---------------------------------------------------------

void CParameterPage::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

QSize CParameterPage::sizeHint() const
{
    return QSize(kPageWidth, kPageHeight).expandedTo(minimumSizeHint());
}
