#include "widgets/status_line.h"

#include "widgets/window_look.h"

#include <QFontMetrics>

StatusLine::StatusLine(int lines, QWidget *parent) : QLabel(parent), m_lines(std::max(lines, 1))
{
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setContentsMargins(6, 2, 6, 2);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QFontMetrics metrics(font());
    setFixedHeight(metrics.lineSpacing() * m_lines + frameWidth() * 2 + 4 + 4);
}

void StatusLine::ShowOutcome(const QString &text, bool failed)
{
    m_fullText = text;
    m_failed = failed;
    // Otherwise the window's own text colour.
    QPalette colours;
    if (failed) {
        colours = palette();
        const QColor failure = FailureTextColour(colours);
        colours.setColor(QPalette::Active, QPalette::WindowText, failure);
        colours.setColor(QPalette::Inactive, QPalette::WindowText, failure);
    }
    setPalette(colours);
    setToolTip(text);
    // A screen reader reads the whole text, also where the line shortens it.
    setAccessibleDescription(text);
    Refit();
}

void StatusLine::Clear()
{
    m_fullText.clear();
    m_failed = false;
    setToolTip({});
    setAccessibleDescription({});
    setText({});
}

bool StatusLine::Fits(const QString &text) const
{
    const QRect area = contentsRect();
    if (area.width() <= 0)
        return true; // not laid out yet; fitted on the first resize
    const QFontMetrics metrics(font());
    const QRect needed = metrics.boundingRect(QRect(0, 0, area.width(), 1 << 20),
                                              Qt::TextWordWrap | Qt::AlignLeft, text);
    return needed.height() <= area.height() && needed.width() <= area.width();
}

void StatusLine::Refit()
{
    // Shortened in the middle, where a long path or name has its least
    // telling part, until it fits.
    QString shown = m_fullText;
    const QFontMetrics metrics(font());
    int budget = metrics.horizontalAdvance(shown);
    while (!Fits(shown) && budget > 0) {
        budget -= std::max(metrics.averageCharWidth(), 1) * 2;
        shown = metrics.elidedText(m_fullText, Qt::ElideMiddle, std::max(budget, 0));
    }
    setText(shown);
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    Refit();
}
