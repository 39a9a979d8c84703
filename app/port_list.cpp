#include "app/port_list.h"

#include "platform/serial_ports.h"

#include <QSerialPortInfo>

QStringList PresentPortNames()
{
    std::vector<platform::SystemSerialPort> system;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        system.push_back({info.portName().toStdString(), info.manufacturer().toStdString(),
                          info.description().toStdString(), info.serialNumber().toStdString()});
    QStringList names;
    for (const platform::OfferedPort &port : platform::OfferPorts(std::move(system))) {
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
        const QString label = name.trimmed();
        listing.labels << (label == QLatin1Char('(') + entry + QLatin1Char(')') ? entry : label);
    }
    if (listing.entries.isEmpty())
        listing.entries = listing.labels = QStringList{QStringLiteral("COM1")};
    return listing;
}

PortListing LastUsedFirst(PortListing listing)
{
    listing.entries.move(listing.selected, 0);
    listing.labels.move(listing.selected, 0);
    listing.selected = 0;
    return listing;
}
