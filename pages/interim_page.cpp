#include "pages/interim_page.h"

#include "pages/page_services.h"
#include "params/read_lists.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using params::Page;
using params::Slot;

namespace {

constexpr int kFieldWidth = 230;

// Labels of slots that carry no report name of their own, or one shared
// with other slots.
struct SlotDescription
{
    Slot slot;
    const char *text;
};
constexpr SlotDescription kDescriptions[] = {
    {Slot::CspNone, "CSP: none (16541 = 0)"},
    {Slot::CspAllCalls, "CSP: all calls (16541 = 2)"},
    {Slot::CspCallBack, "CSP: call back (16541 = 1)"},
    {Slot::NoAnswerTime, "No answer time (seconds)"},
    {Slot::ForwardNumber, "Forward to number"},
    {Slot::PinStartUp, "PIN code on start-up [16550]"},
    {Slot::PinCode, "PIN code"},
    {Slot::ChangePin, "Change PIN code [16207]"},
    {Slot::OldPin, "Old PIN code"},
    {Slot::NewPin, "New PIN code"},
    {Slot::ConfirmPin, "Confirm PIN code"},
    {Slot::Date, "Date (DDMMYY)"},
    {Slot::Time, "Time (HHMM)"},
};

// Store integers that decide what a page exports and reads.
struct IntegerDescription
{
    Page page;
    const char *text;
    int ParameterStore::*member;
    int maximum;
};
constexpr IntegerDescription kIntegers[] = {
    {Page::Forward, "Call waiting and forward enabled (0/1)",
     &ParameterStore::waitingForwardEnabled, 1},
    {Page::Forward, "Call waiting included (0/1)", &ParameterStore::callWaitingIncluded, 1},
    {Page::Forward, "Forwarding included (0/1)", &ParameterStore::forwardingIncluded, 1},
    {Page::SecurityCode, "PIN write mode (0 none, 1 start-up, 2 change)",
     &ParameterStore::pinWriteMode, 2},
};

QString SlotLabel(const params::SlotInfo &info)
{
    for (const SlotDescription &description : kDescriptions) {
        if (description.slot == info.slot)
            return QString::fromUtf8(description.text);
    }
    QString name;
    if (const char *chosen = info.name.Current())
        name = QString::fromUtf8(chosen);
    else if (const char *english = info.name.en)
        name = QString::fromUtf8(english);
    else {
        for (const params::AtSetting &setting : params::AllAtSettings()) {
            if (setting.slot == info.slot) {
                const char *label = setting.label.Current();
                name = QString::fromUtf8(label ? label : setting.label.en);
                break;
            }
        }
    }
    if (info.number != 0 && !name.contains(QString::number(info.number)))
        name += QStringLiteral(" [%1]").arg(info.number);
    return name;
}

const params::ListInfo *ListOf(Page page)
{
    const int templateId = params::PageTemplate(page);
    for (const params::ListInfo *list : {&params::kForbiddenList, &params::kCallBackList}) {
        if (list->pageTemplate == templateId)
            return list;
    }
    return nullptr;
}

} // namespace

CInterimPage::CInterimPage(Page page, QWidget *parent)
    : CParameterPage(params::PageTemplate(page), parent), m_page(page), m_listInfo(ListOf(page))
{
    setObjectName(QStringLiteral("page%1").arg(TemplateId()));
}

void CInterimPage::OnInitPage()
{
    BuildFields();
}

void CInterimPage::BuildFields()
{
    auto *layout = new QVBoxLayout(this);
    m_title = new QLabel(Host() ? Host()->PageTitle(TemplateId()) : QString(), this);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    auto *note =
        new QLabel(tr("Interim page: values are stored and sent as typed, without checks."), this);
    note->setStyleSheet(QStringLiteral("color: #606060;"));
    note->setWordWrap(true);
    layout->addWidget(m_title);
    layout->addWidget(note);

    auto *form = new QWidget;
    auto *formLayout = new QFormLayout(form);
    formLayout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (const params::SlotInfo &info : params::AllSlots()) {
        if (info.pageTemplate != TemplateId())
            continue;
        auto *edit = new QLineEdit(form);
        edit->setFixedWidth(kFieldWidth);
        edit->setObjectName(QStringLiteral("slot%1").arg(int(info.slot)));
        formLayout->addRow(SlotLabel(info), edit);
        m_fields.push_back({info.slot, edit});
    }
    for (const IntegerDescription &integer : kIntegers) {
        if (integer.page != m_page)
            continue;
        auto *box = new QSpinBox(form);
        box->setFixedWidth(kFieldWidth);
        box->setRange(0, integer.maximum);
        box->setValue(Store().*integer.member);
        // What the read asks for depends on these at once, not only after a store.
        connect(box, &QSpinBox::valueChanged, this,
                [this, member = integer.member](int value) { Store().*member = value; });
        formLayout->addRow(QString::fromUtf8(integer.text), box);
        m_integers.push_back({integer.member, box});
    }

    auto *scroll = new QScrollArea(this);
    scroll->setWidget(form);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    form->setAutoFillBackground(false);
    layout->addWidget(scroll, m_listInfo ? 0 : 1);

    if (m_listInfo) {
        m_list = new QTableWidget(int(ListSize()), 2, this);
        m_list->setHorizontalHeaderLabels({tr("Position"), tr("Value")});
        m_list->verticalHeader()->hide();
        m_list->horizontalHeader()->setStretchLastSection(true);
        m_list->setColumnWidth(0, 80);
        for (int row = 0; row < m_list->rowCount(); ++row) {
            auto *position = new QTableWidgetItem(
                QStringLiteral("%1").arg(m_listInfo->firstPosition + row, 4, 10, QLatin1Char('0')));
            position->setFlags(position->flags() & ~Qt::ItemIsEditable);
            m_list->setItem(row, 0, position);
            m_list->setItem(row, 1, new QTableWidgetItem);
        }
        layout->addWidget(m_list, 1);
    }
}

size_t CInterimPage::ListSize() const
{
    if (m_listInfo == &params::kForbiddenList)
        return ParameterStore::kForbiddenCount;
    if (m_listInfo == &params::kCallBackList)
        return ParameterStore::kCallBackCount;
    return 0;
}

std::string *CInterimPage::ListEntry(size_t row)
{
    ParameterStore &store = Store();
    if (m_listInfo == &params::kForbiddenList && row < store.forbidden.size())
        return &store.forbidden[row];
    if (m_listInfo == &params::kCallBackList && row < store.callBack.size())
        return &store.callBack[row];
    return nullptr;
}

QLineEdit *CInterimPage::FieldOf(Slot slot) const
{
    for (const SlotField &field : m_fields) {
        if (field.slot == slot)
            return field.edit;
    }
    return nullptr;
}

void CInterimPage::SaveToStore()
{
    ParameterStore &store = Store();
    for (const SlotField &field : m_fields)
        store[field.slot] = field.edit->text().toStdString();
    for (const IntegerField &integer : m_integers)
        store.*integer.member = integer.box->value();
    if (!m_list)
        return;
    for (int row = 0; row < m_list->rowCount(); ++row) {
        if (std::string *entry = ListEntry(size_t(row)))
            *entry = m_list->item(row, 1)->text().toStdString();
    }
}

void CInterimPage::LoadFromStore()
{
    ParameterStore &store = Store();
    for (const SlotField &field : m_fields)
        field.edit->setText(QString::fromStdString(store[field.slot]));
    for (const IntegerField &integer : m_integers)
        integer.box->setValue(store.*integer.member);
    if (!m_list)
        return;
    for (int row = 0; row < m_list->rowCount(); ++row) {
        if (const std::string *entry = ListEntry(size_t(row)))
            m_list->item(row, 1)->setText(QString::fromStdString(*entry));
    }
}

void CInterimPage::AppendReadItems(ReadLists &lists)
{
    const ParameterStore &store = Store();
    const params::ForwardQuerySwitches forward{store.waitingForwardEnabled != 0,
                                               store.callWaitingIncluded != 0,
                                               store.forwardingIncluded != 0};
    params::AppendPageReadItems(m_page, lists, forward);
}
