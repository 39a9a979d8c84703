#include "app/settings_store.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr const char *kOrganisation = "Quillenbrook";
constexpr const char *kApplication = "Kestrel Manager";
constexpr const char *kGroup = "Settings";
constexpr const char *kFolderKey = "folder";
constexpr const char *kGeometryKey = "mainWindowGeometry";

QString InGroup(const char *key)
{
    return QStringLiteral("%1/%2").arg(QLatin1String(kGroup), QLatin1String(key));
}

struct Key
{
    const char *name;
    QString StartupSettings::*field;
};
constexpr Key kKeys[] = {
    {"port", &StartupSettings::port},
    {"baut", &StartupSettings::baud},
    {"language", &StartupSettings::language},
    {"gap", &StartupSettings::gap},
};

} // namespace

StartupSettings LoadStartupSettings()
{
    QSettings store(kOrganisation, kApplication);
    store.beginGroup(kGroup);
    StartupSettings settings;
    for (const Key &key : kKeys) {
        // A value of another type (a list, say, from a hand-edited file)
        // reads as text as far as it converts, else as empty.
        const QVariant value = store.value(key.name, settings.*key.field);
        settings.*key.field = value.toString();
    }
    // The default takes the place of a gap the tool cannot use, and is what
    // is written back.
    if (!ParseDeviceGap(settings.gap.toStdString())) {
        qWarning("Kestrel Manager: the stored gap \"%s\" is not a whole number of milliseconds "
                 "from 0 to 1000; using %d ms",
                 qUtf8Printable(settings.gap), kDefaultDeviceGap);
        settings.gap = QString::number(kDefaultDeviceGap);
    }
    return settings;
}

void SaveStartupSettings(const StartupSettings &settings)
{
    QSettings store(kOrganisation, kApplication);
    store.beginGroup(kGroup);
    for (const Key &key : kKeys)
        store.setValue(key.name, settings.*key.field);
    store.endGroup();
    store.sync();
}

QString LoadFileFolder()
{
    QSettings store(kOrganisation, kApplication);
    const QString folder = store.value(InGroup(kFolderKey)).toString();
    if (!folder.isEmpty() && QDir(folder).exists())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void SaveFileFolder(const QString &folder)
{
    QSettings store(kOrganisation, kApplication);
    store.setValue(InGroup(kFolderKey), folder);
    store.sync();
}

QByteArray LoadWindowGeometry()
{
    QSettings store(kOrganisation, kApplication);
    return store.value(InGroup(kGeometryKey)).toByteArray();
}

void SaveWindowGeometry(const QByteArray &geometry)
{
    QSettings store(kOrganisation, kApplication);
    store.setValue(InGroup(kGeometryKey), geometry);
    store.sync();
}
