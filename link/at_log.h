#pragma once
// The AT traffic log: one plain-text file per port, g_strAppDir + the port's
// file name + "AtLog.ini", appended to record by record and never read.
// A record is "%m/%d/%Y %H:%M:%S ", "Send: " or "Recv: " for traffic, the
// text without one trailing CR, and CR LF; every LF is stored as CR LF (the
// log has always been written in text mode), so a record ends CR CR LF.
// Failures skip the record silently. The file is created 0600 and a link
// under its name is refused (platform::AppendToPrivateFile).

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

// Where the time stamp of a record comes from: local wall-clock time.
using LogClock = std::function<std::tm()>;
std::tm LocalNow();

std::string AtLogPath();
// The bytes of one record as they go to disk.
std::string FormatLogRecord(const std::tm &when, std::string_view prefix, std::string_view text);

// A command sent (direction 0) or a line received (nonzero).
void LogTraffic(std::string_view text, int direction, const LogClock &clock = LocalNow);
void LogNote(std::string_view text, const LogClock &clock = LocalNow);
