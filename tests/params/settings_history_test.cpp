// The settings history: one copy per read or write, named by its time and
// operation, for the user alone, and no more than the limit per port.

#include "params/settings_history.h"
#include "tests/common/temp_folder.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;
using params::HistoryOperation;

unsigned Mode(const std::string &path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST(SettingsHistory, KeepsEachCopyUnderItsTimeWithinTheLimitOfItsPort)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    TempFolder folder;
    const std::string data = folder.Path() + "/";
    const auto when = std::chrono::system_clock::from_time_t(1749651781) + 512ms;
    std::string copy;
    ASSERT_TRUE(params::KeepInHistory(data, "/dev/pts/3", HistoryOperation::Read,
                                      "[PARA]\r\n5=\"01\"\r\n", when, copy)
                    .ok);
    const std::string port = data + "history/pts_3/";
    EXPECT_EQ(copy, port + "20250611-142301-512-read.ini");
    EXPECT_EQ(ReadBytes(copy), "; Kestrel Manager settings history: read on port /dev/pts/3 at "
                               "2025-06-11 14:23:01\r\n[PARA]\r\n5=\"01\"\r\n");
    EXPECT_EQ(Mode(copy), 0600u);
    EXPECT_EQ(Mode(data + "history"), 0700u);
    EXPECT_EQ(Mode(port), 0700u);

    ASSERT_TRUE(
        params::KeepInHistory(data, "/dev/pts/3", HistoryOperation::Read, "", when, copy).ok);
    EXPECT_EQ(copy, port + "20250611-142301-513-read.ini") << "the next free millisecond";
    // With the second's last millisecond taken, a copy within it is not kept.
    const auto last = std::chrono::system_clock::from_time_t(1749651781) + 999ms;
    const std::string taken = data + "history/pts_9/20250611-142301-999-read.ini";
    ASSERT_TRUE(
        params::KeepInHistory(data, "/dev/pts/9", HistoryOperation::Read, "", last, copy).ok);
    EXPECT_EQ(
        params::KeepInHistory(data, "/dev/pts/9", HistoryOperation::Read, "", last, copy).error,
        "Cannot create \"" + taken + "\": File exists");
    EXPECT_EQ(copy, "");

    // The user's own files, each a character away from a copy's name and
    // older by their names than any copy: none of them is removed.
    const std::vector<std::string> lookAlikes = {"notes.txt",
                                                 "0000000a-000000-000-read.ini",
                                                 "00000000x000000-000-read.ini",
                                                 "00000000-000000x000-read.ini",
                                                 "00000000-000000-000xread.ini",
                                                 "00000000-000000-000-read.txt",
                                                 "0-.ini"};
    for (const std::string &name : lookAlikes)
        WriteBytes(port + name, "mine");
    for (size_t i = 1; i < params::kHistoryCopiesPerPort; ++i)
        ASSERT_TRUE(params::KeepInHistory(data, "/dev/pts/3", HistoryOperation::Write, "",
                                          when + i * 1s, copy)
                        .ok);
    size_t copies = 0;
    for (const auto &entry : std::filesystem::directory_iterator(port))
        copies += entry.path().filename().string().starts_with("2025");
    EXPECT_EQ(copies, params::kHistoryCopiesPerPort);
    EXPECT_FALSE(std::filesystem::exists(port + "20250611-142301-512-read.ini"))
        << "the oldest went";
    EXPECT_TRUE(std::filesystem::exists(port + "20250611-142301-513-read.ini"));
    for (const std::string &name : lookAlikes)
        EXPECT_EQ(ReadBytes(port + name), "mine") << name << ": nothing but copies is removed";
}

} // namespace
