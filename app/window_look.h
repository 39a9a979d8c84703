#pragma once
// The plain look of the program's own dialogs: painted in red 234, green
// 234, blue 234, with black text.

#include <QColor>
#include <QPalette>
#include <QWidget>

inline void ApplyWindowLook(QWidget &window)
{
    window.setAutoFillBackground(true);
    QPalette look = window.palette();
    look.setColor(QPalette::Window, QColor(234, 234, 234));
    look.setColor(QPalette::WindowText, Qt::black);
    window.setPalette(look);
}
