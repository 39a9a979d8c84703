#pragma once
// What assistive technology is told a control is called.

#include <QString>

// A label or button text as a name: without the mnemonic's "&" and without
// leading or trailing blanks (" Enable Timeout" is "Enable Timeout").
QString SpokenName(const QString &text);

// On Linux a combo box names itself by the entry it shows ("ttyS0",
// "115200"), whatever it was named. From this call on, every combo box is
// named by its accessible name or else its label, and the entry it shows is
// its value. The first call installs this for the whole application.
void NameComboBoxesByLabel();
