#include "app/port_list.h"

#include "platform/serial_ports.h"

QStringList PresentPortNames()
{
    QStringList names;
    for (const platform::OfferedPort &port : platform::ListOfferedPorts()) {
        const std::string name =
            port.isVirtual ? port.description : port.description + " (" + port.name + ")";
        names << QString::fromStdString(name);
    }
    return names;
}

QString PortEntryForName(const QString &friendlyName, bool *isPortName)
{
    const qsizetype open = friendlyName.lastIndexOf(QLatin1Char('('));
    const qsizetype close = open < 0 ? -1 : friendlyName.indexOf(QLatin1Char(')'), open + 1);
    const bool found = close > open + 1;
    if (isPortName)
        *isPortName = found;
    return found ? friendlyName.mid(open + 1, close - open - 1) : friendlyName;
}

PortListing BuildPortList(const QStringList &friendlyNames, const QString &savedPort)
{
    PortListing listing;
    for (const QString &name : friendlyNames) {
        if (name.toUtf8().size() >= kFriendlyNameBufferSize)
            continue;
        bool isPortName = false;
        const QString entry = PortEntryForName(name, &isPortName);
        if (isPortName && !savedPort.isEmpty() && entry.startsWith(savedPort, Qt::CaseInsensitive))
            listing.selected = static_cast<int>(listing.entries.size());
        listing.entries << entry;
    }
    if (listing.entries.isEmpty())
        listing.entries << QStringLiteral("COM1");
    return listing;
}
