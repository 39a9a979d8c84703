#include "link/at_log.h"

#include "link/shared_settings.h"
#include "platform/file_io.h"
#include "platform/port_names.h"

#include <array>

namespace {

constexpr std::string_view kSendPrefix = "Send: ";
constexpr std::string_view kRecvPrefix = "Recv: ";

// Opened and closed for every record, so others may read, copy or delete the
// file between records; appending keeps each record whole next to the
// records of the other thread. The log holds passwords: it is the user's
// alone, and a link under its name is not written through.
void AppendRecord(std::string_view text, std::string_view prefix, const LogClock &clock)
{
    if (text.empty())
        return;
    [[maybe_unused]] const platform::FileResult written =
        platform::AppendToPrivateFile(AtLogPath(), FormatLogRecord(clock(), prefix, text));
}

} // namespace

std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return local;
}

std::string AtLogPath()
{
    return g_strAppDir + platform::PortFileName(g_strPortName) + "AtLog.ini";
}

std::string FormatLogRecord(const std::tm &when, std::string_view prefix, std::string_view text)
{
    std::array<char, 64> stamp{};
    const size_t stampLength =
        std::strftime(stamp.data(), stamp.size(), "%m/%d/%Y %H:%M:%S ", &when);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    std::string record;
    record.reserve(stampLength + prefix.size() + text.size() + 8);
    for (std::string_view part :
         {std::string_view(stamp.data(), stampLength), prefix, text, std::string_view("\r\n")}) {
        for (char c : part) {
            if (c == '\n')
                record += '\r';
            record += c;
        }
    }
    return record;
}

void LogTraffic(std::string_view text, int direction, const LogClock &clock)
{
    AppendRecord(text, direction == 0 ? kSendPrefix : kRecvPrefix, clock);
}

void LogNote(std::string_view text, const LogClock &clock)
{
    AppendRecord(text, {}, clock);
}
