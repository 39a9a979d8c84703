#include "link/at_log.h"

#include "link/shared_settings.h"
#include "platform/port_names.h"
#include "platform/unique_fd.h"

#include <array>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::string_view kSendPrefix = "Send: ";
constexpr std::string_view kRecvPrefix = "Recv: ";

// Opened and closed for every record, so others may read, copy or delete the
// file between records; O_APPEND keeps each record whole next to the records
// of the other thread.
void AppendRecord(std::string_view text, std::string_view prefix, const LogClock &clock)
{
    if (text.empty())
        return;
    const std::string record = FormatLogRecord(clock(), prefix, text);
    platform::UniqueFd file(
        ::open(AtLogPath().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (!file.Valid())
        return;
    [[maybe_unused]] const ssize_t written = ::write(file.Get(), record.data(), record.size());
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
