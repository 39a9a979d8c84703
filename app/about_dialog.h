#pragma once
// The About box of the main window's system menu.

#include <QString>
#include <memory>

class QDialog;
class QWidget;

inline constexpr const char *kAboutTitle = "Kestrel Programming";
// The program's version as it is shown (About box, main window caption).
inline constexpr const char *kVersionText = "V" KESTREL_VERSION;

// "Build On: " and the build date in the form "Apr 25 2011".
QString BuildOnText();

// The box, not yet shown; the caller may show it or look at it, and lets it
// go before `parent` dies.
std::unique_ptr<QDialog> CreateAboutBox(QWidget *parent);
// Shows the box modally and returns when the user has closed it.
void ShowAboutBox(QWidget *parent);
