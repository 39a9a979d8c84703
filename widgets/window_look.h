#pragma once
// The program's look, taken from the palette so that it follows the desktop.
// On a light palette the windows and pages are painted grey (red, green and
// blue 234); on a dark one they keep the palette's own window colour. Texts
// always take the palette's colours, so that a disabled control looks
// disabled and a dark palette gives light text.

class QColor;
class QPalette;
class QWidget;

// Light text on a dark window.
bool IsDarkPalette(const QPalette &palette);
// The palette with the look's window colour, in every colour group.
QPalette LookPalette(const QPalette &base);
// A window or page in that colour, its background painted.
void ApplyWindowLook(QWidget &window);
// The text of a failure: red, readable on the palette's window colour.
QColor FailureTextColour(const QPalette &palette);
