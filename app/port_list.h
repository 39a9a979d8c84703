#pragma once
// The COM port list of the login: the serial ports present, by friendly name
// in enumeration order, become list entries, and the saved port name picks
// the entry to preselect.

#include <QString>
#include <QStringList>

// Friendly names of the ports offered (platform::ListOfferedPorts): every
// system serial port as description + " (" + port name + ")", then every
// advertised virtual port as "Virtual port (NAME)".
QStringList PresentPortNames();

// Friendly names are read into a buffer of this size; a longer one is left
// out like a name that cannot be read.
inline constexpr int kFriendlyNameBufferSize = 2048;

struct PortListing
{
    QStringList entries;
    // What the list shows of each entry: the friendly name, with the port
    // name in parentheses after its description ("Virtual port (SIM0)");
    // the bare port name for a port that tells nothing of itself.
    QStringList labels;
    int selected = 0;
};

// The entry of one friendly name: the text between the last "(" and the ")"
// after it when that is a port name; else the whole name. `isPortName`
// tells which.
QString PortEntryForName(const QString &friendlyName, bool *isPortName = nullptr);

// The list entries for the names, and the position to select: the last
// entry taken from between parentheses whose beginning matches the saved
// port name, case ignored, over the saved name's length (a saved "COM1"
// also matches "COM10"); position 0 when none matches or nothing was
// saved. With no names the list holds the one entry "COM1".
PortListing BuildPortList(const QStringList &friendlyNames, const QString &savedPort);

// The same listing with the selected entry moved to the front: the port
// used last comes first, the others keep their order.
PortListing LastUsedFirst(PortListing listing);
