#pragma once
// The start-up choices kept between runs in the per-user settings store:
// organisation "Quillenbrook", application "Kestrel Manager", group
// "Settings", string values "port", "baut" (the baud rate, spelled so) and
// "language" ("1" English, "2" Portuguese, "3" Spanish).

#include <QString>

struct StartupSettings
{
    QString port = QStringLiteral("COM1");
    QString baud = QStringLiteral("115200");
    QString language = QStringLiteral("1");
};

// The stored values; a key that is missing gives its default.
StartupSettings LoadStartupSettings();
void SaveStartupSettings(const StartupSettings &settings);
