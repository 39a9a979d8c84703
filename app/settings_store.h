#pragma once
// The start-up choices kept between runs in the per-user settings store:
// organisation "Quillenbrook", application "Kestrel Manager", group
// "Settings", string values "port", "baut" (the baud rate, spelled so),
// "language" ("1" English, "2" Portuguese, "3" Spanish) and "gap" (the
// device gap in milliseconds, 0 to 1000, which no control shows).

#include "link/shared_settings.h"

#include <QByteArray>
#include <QString>

struct StartupSettings
{
    QString port = QStringLiteral("COM1");
    QString baud = QStringLiteral("115200");
    QString language = QStringLiteral("1");
    QString gap = QString::number(kDefaultDeviceGap);
};

// The stored values; a key that is missing gives its default. A stored gap
// that is not a whole number from 0 to 1000 gives the default too, with a
// warning on standard error.
StartupSettings LoadStartupSettings();
void SaveStartupSettings(const StartupSettings &settings);

// Where the main window stood and how large it was when it last closed
// ("mainWindowGeometry" in the same group, as QWidget::saveGeometry gives
// it); empty at first.
QByteArray LoadWindowGeometry();
void SaveWindowGeometry(const QByteArray &geometry);

// The folder the file dialogs last used ("folder" in the same group); at
// first, or when it is gone, the user's documents folder.
QString LoadFileFolder();
void SaveFileFolder(const QString &folder);
