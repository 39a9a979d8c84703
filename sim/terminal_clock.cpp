#include "sim/terminal_clock.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace sim {

namespace chr = std::chrono;

namespace {

constexpr int kMaxZoneQuarters = 48;

// Two decimal digits at `pos`, or -1.
int TwoDigits(std::string_view text, std::size_t pos)
{
    if (pos + 2 > text.size())
        return -1;
    const char a = text[pos], b = text[pos + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return -1;
    return (a - '0') * 10 + (b - '0');
}

} // namespace

ClockSetting HostLocalClock(HostTime now)
{
    const std::time_t seconds = chr::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    ClockSetting setting;
    setting.offset = chr::seconds(local.tm_gmtoff);
    setting.zoneQuarters = static_cast<int>(local.tm_gmtoff / (15L * 60));
    return setting;
}

std::string FormatClock(HostTime now, const ClockSetting &setting)
{
    const auto wall = chr::floor<chr::seconds>(now) + setting.offset;
    const auto day = chr::floor<chr::days>(wall);
    const chr::year_month_day date{day};
    const chr::hh_mm_ss time{wall - day};
    const int zone = setting.zoneQuarters;
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02u/%02u,%02d:%02d:%02d%c%02d",
                  static_cast<int>(date.year()) % 100, static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()), zone < 0 ? '-' : '+', std::abs(zone));
    return text;
}

std::optional<ClockSetting> ParseClock(std::string_view text, HostTime now)
{
    // yy/MM/dd,hh:mm:ss is 17 characters; separators at fixed places.
    static constexpr std::string_view kSeparators = "//,::";
    if (text.size() < 17)
        return std::nullopt;
    int fields[6];
    for (int i = 0; i < 6; ++i) {
        fields[i] = TwoDigits(text, static_cast<std::size_t>(i) * 3);
        if (fields[i] < 0 || (i < 5 && text[static_cast<std::size_t>(i) * 3 + 2] != kSeparators[i]))
            return std::nullopt;
    }
    ClockSetting setting;
    const std::string_view zone = text.substr(17);
    if (!zone.empty()) {
        if ((zone[0] != '+' && zone[0] != '-') || zone.size() < 2 || zone.size() > 3)
            return std::nullopt;
        int quarters = 0;
        for (char c : zone.substr(1)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            quarters = quarters * 10 + (c - '0');
        }
        if (quarters > kMaxZoneQuarters)
            return std::nullopt;
        setting.zoneQuarters = zone[0] == '-' ? -quarters : quarters;
    }
    const chr::year_month_day date{chr::year(2000 + fields[0]), chr::month(fields[1]),
                                   chr::day(fields[2])};
    if (!date.ok() || fields[3] > 23 || fields[4] > 59 || fields[5] > 59)
        return std::nullopt;
    const auto wall = chr::sys_days(date) + chr::hours(fields[3]) + chr::minutes(fields[4]) +
                      chr::seconds(fields[5]);
    setting.offset = wall - chr::floor<chr::seconds>(now);
    return setting;
}

} // namespace sim
