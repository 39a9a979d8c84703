#include "widgets/nav_button.h"

namespace {

QString Rgb(const QColor &colour)
{
    return colour.name(QColor::HexRgb);
}

// Between `from` and `to`; 0 is `from`.
QColor Mix(const QColor &from, const QColor &to, double share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// The selected look's background, a shade further from its text than the
// palette's highlight, which is made for short runs of text.
QColor SelectedBackground(const QColor &highlight, const QColor &text)
{
    return text.lightness() > highlight.lightness() ? highlight.darker(125)
                                                    : highlight.lighter(125);
}

QString Gradient(const QColor &colour)
{
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
        .arg(Rgb(colour.lighter(104)), Rgb(colour.darker(108)));
}

QString NavSkin(const QPalette &colours)
{
    const QColor highlight = colours.color(QPalette::Active, QPalette::Highlight);
    const QColor selectedText = colours.color(QPalette::Active, QPalette::HighlightedText);
    const QColor selected = SelectedBackground(highlight, selectedText);
    return QStringLiteral(R"(
NavButton {
    text-align: left;
    padding: 5px 10px;
    color: %1;
    background: %2;
    border: 1px solid %3;
    border-radius: 3px;
}
NavButton:hover { border-color: %4; }
NavButton:disabled { color: %5; }
NavButton:checked {
    color: %6;
    font-weight: bold;
    background: %7;
    border: 1px solid %8;
}
NavButton:checked:disabled { color: %9; }
)")
        .arg(Rgb(colours.color(QPalette::Active, QPalette::ButtonText)),
             Gradient(colours.color(QPalette::Active, QPalette::Button)),
             Rgb(colours.color(QPalette::Active, QPalette::Mid)), Rgb(highlight),
             Rgb(colours.color(QPalette::Disabled, QPalette::ButtonText)), Rgb(selectedText),
             Gradient(selected), Rgb(selected.darker(130)), Rgb(Mix(selected, selectedText, 0.45)));
}

QString ButtonSkin(const QPalette &colours)
{
    const QColor button = colours.color(QPalette::Active, QPalette::Button);
    return QStringLiteral(R"(
QPushButton {
    padding: 5px 14px;
    color: %1;
    background: %2;
    border: 1px solid %3;
    border-radius: 3px;
}
QPushButton:hover { border-color: %4; }
QPushButton:pressed { background: %5; }
QPushButton:disabled { color: %6; background: %7; border-color: %8; }
)")
        .arg(Rgb(colours.color(QPalette::Active, QPalette::ButtonText)), Gradient(button),
             Rgb(colours.color(QPalette::Active, QPalette::Mid)),
             Rgb(colours.color(QPalette::Active, QPalette::Highlight)), Rgb(button.darker(112)),
             Rgb(colours.color(QPalette::Disabled, QPalette::ButtonText)),
             Rgb(colours.color(QPalette::Disabled, QPalette::Button)),
             Rgb(colours.color(QPalette::Disabled, QPalette::Mid)));
}

} // namespace

NavButton::NavButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setAutoDefault(false);
    // Checked while its page is in front; the window says which one that is
    // (see nextCheckState), and Tab still stops at every button.
    setCheckable(true);
    setStyleSheet(NavSkin(palette()));
}

void NavButton::nextCheckState()
{
    // A click shows the page; the checked state follows from that.
}

void ApplyButtonSkin(QPushButton &button)
{
    button.setAutoDefault(false);
    button.setDefault(false);
    button.setStyleSheet(ButtonSkin(button.palette()));
}
