#include "widgets/nav_button.h"

#include <QStyle>

namespace {

constexpr char kNavSkin[] = R"(
CNavButton {
    text-align: left;
    padding: 5px 10px;
    color: #1e1e1e;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f6f6f6, stop:1 #dedede);
    border: 1px solid #a8a8a8;
    border-radius: 3px;
}
CNavButton:hover { border-color: #5d87b8; }
CNavButton:disabled { color: #8c8c8c; }
CNavButton[selected="true"] {
    color: #ffffff;
    font-weight: bold;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4f83c2, stop:1 #2f5f9c);
    border: 1px solid #244c7e;
}
CNavButton[selected="true"]:disabled { color: #c8d4e4; }
)";

constexpr char kButtonSkin[] = R"(
QPushButton {
    padding: 5px 14px;
    color: #1e1e1e;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fafafa, stop:1 #dadada);
    border: 1px solid #9a9a9a;
    border-radius: 3px;
}
QPushButton:hover { border-color: #5d87b8; }
QPushButton:pressed { background: #cfcfcf; }
QPushButton:disabled { color: #8c8c8c; background: #e6e6e6; border-color: #bdbdbd; }
)";

} // namespace

CNavButton::CNavButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setAutoDefault(false);
    setStyleSheet(kNavSkin);
}

void CNavButton::SetSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    // Style sheets look at the property only when the widget is polished again.
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void ApplyButtonSkin(QPushButton &button)
{
    button.setAutoDefault(false);
    button.setDefault(false);
    button.setStyleSheet(kButtonSkin);
}
