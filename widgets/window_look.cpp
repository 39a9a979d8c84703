#include "widgets/window_look.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace {
constexpr int kLookGrey = 234;
}

bool IsDarkPalette(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() <
           palette.color(QPalette::WindowText).lightness();
}

QPalette LookPalette(const QPalette &base)
{
    QPalette look = base;
    if (!IsDarkPalette(base)) {
        // A disabled window keeps its colour; only its texts dim.
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            look.setColor(group, QPalette::Window, QColor(kLookGrey, kLookGrey, kLookGrey));
    }
    return look;
}

void ApplyWindowLook(QWidget &window)
{
    window.setAutoFillBackground(true);
    window.setPalette(LookPalette(window.palette()));
}

QColor FailureTextColour(const QPalette &palette)
{
    return IsDarkPalette(palette) ? QColor(255, 128, 128) : QColor(160, 0, 0);
}
