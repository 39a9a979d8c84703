#include "widgets/wait_dialog.h"

#include "widgets/app_message_box.h"
#include "widgets/qt_text.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {
constexpr char kHeadline[] = "It is working, Please wait!";
constexpr char kInitialStatus[] = "Info!";
constexpr lang::Tr3 kCancel = {"Cancel", "Cancelar", "Cancelar"};
} // namespace

CWaitDlg::CWaitDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(kAppCaption);
    setModal(false);

    auto *icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this)
                        .pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_headline = new QLabel(kHeadline, this);
    m_headline->setObjectName(QString::number(kHeadlineId));
    QFont bold = m_headline->font();
    bold.setBold(true);
    m_headline->setFont(bold);

    m_status = new QLabel(kInitialStatus, this);
    m_status->setObjectName(QString::number(kStatusLineId));
    m_status->setWordWrap(true);
    m_status->setMinimumHeight(2 * m_status->fontMetrics().lineSpacing());
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_busy = new QProgressBar(this);
    SetProgress(0, 0);

    m_cancel = new QPushButton(lang::QtText(kCancel), this);
    m_cancel->setAccessibleName(lang::QtText(kCancel));
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancel->setEnabled(false); // once is enough; the job ends shortly
        emit cancelRequested();
    });

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(m_headline, 0, 1);
    layout->addWidget(m_status, 1, 1);
    layout->addWidget(m_busy, 2, 0, 1, 2);
    layout->addWidget(m_cancel, 3, 0, 1, 2, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(14);
    setMinimumWidth(380);
    setSizeGripEnabled(false);
}

void CWaitDlg::SetStatusText(const QString &text)
{
    m_status->setText(text);
}

QString CWaitDlg::StatusText() const
{
    return m_status->text();
}

QString CWaitDlg::HeadlineText() const
{
    return m_headline->text();
}

void CWaitDlg::ShowCentred()
{
    if (isVisible())
        return;
    adjustSize();
    QRect area;
    if (QWidget *over = parentWidget(); over && over->isVisible())
        area = over->frameGeometry();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
    show();
}

void CWaitDlg::SetProgress(int done, int total)
{
    // Without a total the bar runs to and fro for as long as the box is shown.
    m_busy->setRange(0, std::max(total, 0));
    m_busy->setValue(std::clamp(done, 0, std::max(total, 0)));
    m_busy->setTextVisible(total > 0);
}

int CWaitDlg::ProgressValue() const
{
    return m_busy->value();
}

int CWaitDlg::ProgressTotal() const
{
    return m_busy->maximum();
}

void CWaitDlg::SetCancellable(bool cancellable)
{
    m_cancel->setEnabled(cancellable);
    m_cancel->setVisible(cancellable);
}

void CWaitDlg::closeEvent(QCloseEvent *event)
{
    // Only the main window hides the box, when the job has ended.
    event->ignore();
}
