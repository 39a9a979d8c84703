#pragma once
// The values of section ATCMD: call waiting and call forwarding as the
// terminal reports them and as the tool writes them, shared by the import,
// the export and the read job's reply store.

#include <optional>
#include <string>
#include <string_view>

namespace params {

// The fields of a call forwarding value in reply order: status, class,
// number, type, subaddress, subaddress type, time. In the tool's own entries
// the first two are the reason and the mode (3 register, 4 erase), and the
// no-reply time is the last of eight fields after the class 7. Fields are
// found by their commas (quoted fields may hold commas), blanks around them
// do not count, and the number comes without its quotes. Missing fields
// are empty.
struct ForwardingFields
{
    std::string status;
    std::string classOrMode;
    std::string number;
    std::string type;
    std::string time; // empty when the value carries no time
};

ForwardingFields ParseForwarding(std::string_view value);

// "145" for an international number (leading "+"), else "129".
std::string_view TypeOfNumber(std::string_view number);

// "r,3,"number",type": forwarding of reason r registered.
std::string FormatForwardingActive(int reason, std::string_view number, std::string_view type);
// "r,3,"number",type,"",,time": the reply store's no-reply form.
std::string FormatForwardingActiveWithTime(int reason, std::string_view number,
                                           std::string_view type, unsigned seconds);
// "r,4": forwarding of reason r erased.
std::string FormatForwardingInactive(int reason);
// "status,2": the reply store's call waiting form.
std::string FormatCallWaitingReply(char status);

// The export's forms: registration with the type taken from the number, and
// for reason 2 the class 7 and the no-answer time; "4,4" erases every kind
// of forwarding; call waiting on "1,1", off "0,0,7".
std::string ExportForwardingRegistration(int reason, std::string_view number,
                                         std::string_view noAnswerTime);
inline constexpr char kEraseAllForwarding[] = "4,4";
std::string_view ExportCallWaiting(bool on);

// One entry of section ATCMD; the value is the text to write, with the
// quotes that the reader removes again.
struct AtcmdEntry
{
    std::string key;
    std::string value;
};

// What the reply store writes for one data line of an AT query: the
// command and argument of the query ("AT+CCFC", "=0,2") and the text after
// the reply's colon with its leading blanks removed. Only a forwarding line
// of the voice class 1 is kept, and call waiting lines of class 1 or 7.
std::optional<AtcmdEntry> AtReplyEntry(std::string_view command, std::string_view argument,
                                       std::string_view value);

// The command line that writes an ATCMD entry: the key less a trailing
// reason digit, "=", the value (the clock's between quotes), CR.
std::string BuildAtCommandLine(std::string_view key, std::string_view value);

// TEXT in double quotes, as the terminal's replies and the ATCMD section carry a value.
std::string Quoted(std::string_view text);

} // namespace params
