#pragma once
// A status line at the foot of a window: one outcome at a time, in plain
// text, on as many lines as it was made for. A text too long for them is
// shortened in the middle (the whole text stays in the tooltip), so nothing
// is cut off at an edge in any language.

#include <QLabel>

class StatusLine : public QLabel
{
    Q_OBJECT
public:
    StatusLine(int lines, QWidget *parent = nullptr);

    // `failed` shows the text in the failure colour.
    void ShowOutcome(const QString &text, bool failed);
    void Clear();

    QString FullText() const { return m_fullText; }
    bool Failed() const { return m_failed; }
    // Whether `text` as shown now fits the line's lines at its width.
    bool Fits(const QString &text) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Refit();

    int m_lines;
    QString m_fullText;
    bool m_failed = false;
};
