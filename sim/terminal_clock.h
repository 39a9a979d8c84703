#pragma once
// The terminal's real-time clock: kept as an offset from the host clock plus
// the time zone last set, in the "yy/MM/dd,hh:mm:ss+zz" form of AT+CCLK
// (zone in quarter hours).

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

using HostTime = std::chrono::system_clock::time_point;

struct ClockSetting
{
    std::chrono::seconds offset{0}; // terminal wall time minus host UTC
    int zoneQuarters = 0;           // -48..48
};

// The host's own local time and zone, what a fresh terminal shows.
ClockSetting HostLocalClock(HostTime now);

// "yy/MM/dd,hh:mm:ss+zz" for the host time `now`.
std::string FormatClock(HostTime now, const ClockSetting &setting);

// Takes "yy/MM/dd,hh:mm:ss" with an optional zone "+zz"/"-zz"; nullopt for a
// malformed text or an impossible date, time or zone.
std::optional<ClockSetting> ParseClock(std::string_view text, HostTime now);

} // namespace sim
