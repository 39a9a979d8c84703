#pragma once
// The settings history: a copy of the values of every successful read and
// of every write, kept per port in the data folder, so that what a terminal
// held can be looked up and set again later (Open the copy, Transmit it).
//
//   <data folder>/history/<port>/20250611-142301-512-read.ini
//
// The name holds the local date and time (to the millisecond) and the
// operation, so names sort by age; the file starts with a comment line that
// says the same with the port, and then holds the values as Save writes
// them. The folders are the user's alone (0700), and so are the copies
// (0600): they may hold the general password and PINs. Beyond
// kHistoryCopiesPerPort copies of a port the oldest are removed.

#include "platform/file_io.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace params {

inline constexpr size_t kHistoryCopiesPerPort = 100;

enum class HistoryOperation { Read, Write };

// "<dataFolder>history/", the folder of every port's copies; dataFolder
// ends with '/'.
std::string HistoryRoot(const std::string &dataFolder);
// "<dataFolder>history/<port's file name>/".
std::string HistoryFolder(const std::string &dataFolder, const std::string &port);

// Keeps `fileBytes` (a parameter file) as a new copy and names it in
// `copyPath`. A failure leaves no copy behind and says why.
platform::FileResult KeepInHistory(const std::string &dataFolder, const std::string &port,
                                   HistoryOperation operation, std::string_view fileBytes,
                                   std::chrono::system_clock::time_point when,
                                   std::string &copyPath);

} // namespace params
