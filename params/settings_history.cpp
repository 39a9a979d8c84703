#include "params/settings_history.h"

#include "platform/port_names.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

namespace params {

namespace fs = std::filesystem;

namespace {

constexpr char kCopySuffix[] = ".ini";
// "20250611-142301-512-": the length of a copy's time stamp.
constexpr size_t kStampLength = 20;

const char *OperationName(HistoryOperation operation)
{
    return operation == HistoryOperation::Read ? "read" : "write";
}

struct LocalTime
{
    std::tm fields{};
    unsigned millisecond = 0;
};

LocalTime ToLocal(std::chrono::system_clock::time_point when)
{
    LocalTime local;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    ::localtime_r(&seconds, &local.fields);
    const auto sinceSecond = when - std::chrono::system_clock::from_time_t(seconds);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count();
    local.millisecond = static_cast<unsigned>(std::clamp<long long>(millis, 0, 999));
    return local;
}

std::string CopyName(const LocalTime &local, unsigned millisecond, HistoryOperation operation)
{
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d-%03u-%s%s",
                  local.fields.tm_year + 1900, local.fields.tm_mon + 1, local.fields.tm_mday,
                  local.fields.tm_hour, local.fields.tm_min, local.fields.tm_sec, millisecond,
                  OperationName(operation), kCopySuffix);
    return name;
}

std::string Heading(const LocalTime &local, const std::string &port, HistoryOperation operation)
{
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local.fields);
    return std::string("; Kestrel Manager settings history: ") + OperationName(operation) +
           " on port " + port + " at " + when + "\r\n";
}

bool IsCopyName(const std::string &name)
{
    return name.size() > kStampLength + 4 && name.ends_with(kCopySuffix) &&
           std::all_of(name.begin(), name.begin() + 8,
                       [](char c) { return c >= '0' && c <= '9'; }) &&
           name[8] == '-' && name[15] == '-' && name[19] == '-';
}

// The oldest copies beyond the limit go; anything else in the folder stays.
void RemoveOldest(const std::string &folder)
{
    std::vector<std::string> copies;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (IsCopyName(name) && entry.is_regular_file(ec))
            copies.push_back(name);
    }
    std::sort(copies.begin(), copies.end());
    for (size_t i = 0; i + kHistoryCopiesPerPort < copies.size(); ++i)
        fs::remove(folder + copies[i], ec);
}

} // namespace

std::string HistoryRoot(const std::string &dataFolder)
{
    return dataFolder + "history/";
}

std::string HistoryFolder(const std::string &dataFolder, const std::string &port)
{
    return HistoryRoot(dataFolder) + platform::PortFileName(port) + "/";
}

platform::FileResult KeepInHistory(const std::string &dataFolder, const std::string &port,
                                   HistoryOperation operation, std::string_view fileBytes,
                                   std::chrono::system_clock::time_point when,
                                   std::string &copyPath)
{
    copyPath.clear();
    const std::string folder = HistoryFolder(dataFolder, port);
    if (platform::FileResult made = platform::PreparePrivateFolder(folder); !made.ok)
        return made;
    const LocalTime local = ToLocal(when);
    const std::string bytes = Heading(local, port, operation) + std::string(fileBytes);
    // Two copies within one millisecond take the next free one.
    platform::FileResult written;
    for (unsigned millisecond = local.millisecond; millisecond < 1000; ++millisecond) {
        const std::string path = folder + CopyName(local, millisecond, operation);
        bool taken = false;
        written = platform::WriteNewPrivateFile(path, bytes, &taken);
        if (written.ok) {
            copyPath = path;
            RemoveOldest(folder);
            return written;
        }
        if (!taken)
            break;
    }
    return written;
}

} // namespace params
