#include "link/at_log.h"
#include "link/shared_settings.h"
#include "tests/common/temp_folder.h"

#include <ctime>
#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;

namespace {

std::tm FixedTime()
{
    std::tm when{};
    ::strptime("05/03/2011 14:07:09", "%d/%m/%Y %H:%M:%S", &when); // local time
    return when;
}

const std::string kStamp = "03/05/2011 14:07:09 ";

class AtLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_strAppDir = m_folder.Path() + "/";
        g_strPortName = "/dev/pts/7";
    }
    void TearDown() override
    {
        g_strAppDir.clear();
        g_strPortName.clear();
    }

    TempFolder m_folder;
};

TEST_F(AtLog, RecordsOnDiskAreByteExact)
{
    EXPECT_EQ(AtLogPath(), m_folder.File("pts_7AtLog.ini"));
    LogTraffic("AT+RPAR=20\r", 0, FixedTime);
    LogTraffic("+RPAR: 20,\"1\"", 1, FixedTime);
    LogNote("comm closed after reading\n\n", FixedTime);
    LogNote("comm activated for reading", FixedTime);
    EXPECT_EQ(ReadBytes(AtLogPath()), "03/05/2011 14:07:09 Send: AT+RPAR=20\r\r\n"
                                      "03/05/2011 14:07:09 Recv: +RPAR: 20,\"1\"\r\r\n"
                                      "03/05/2011 14:07:09 comm closed after reading\r\n\r\n\r\r\n"
                                      "03/05/2011 14:07:09 comm activated for reading\r\r\n");
}

TEST_F(AtLog, TextRules)
{
    const std::tuple<std::string, int, std::string> cases[] = {
        {"AT&W\r", 0, "Send: AT&W\r\r\n"}, {"OK", 7, "Recv: OK\r\r\n"},
        {"X\r\r", 0, "Send: X\r\r\r\n"},   {"\r", 0, "Send: \r\r\n"},
        {"a\nb", 1, "Recv: a\r\nb\r\r\n"}, {"", 0, ""},
    };
    for (const auto &[text, direction, record] : cases) {
        fs::remove(AtLogPath());
        LogTraffic(text, direction, FixedTime);
        EXPECT_EQ(ReadBytes(AtLogPath()), record.empty() ? "" : kStamp + record);
    }
    LogNote("", FixedTime);
    EXPECT_FALSE(fs::exists(AtLogPath())) << "empty texts add nothing, not even the file";
}

TEST_F(AtLog, EachPortHasItsOwnFileAndTheOldOneStays)
{
    g_strPortName = "ttyUSB0";
    LogNote("one", FixedTime);
    g_strPortName = "ttyUSB1";
    LogNote("two", FixedTime);
    EXPECT_EQ(ReadBytes(m_folder.File("ttyUSB0AtLog.ini")), kStamp + "one\r\r\n");
    EXPECT_EQ(ReadBytes(m_folder.File("ttyUSB1AtLog.ini")), kStamp + "two\r\r\n");
}

TEST_F(AtLog, AFolderThatCannotBeWrittenSkipsTheRecordSilently)
{
    g_strAppDir = m_folder.File("missing/");
    LogTraffic("AT\r", 0);
    EXPECT_FALSE(fs::exists(m_folder.File("missing")));
}

// The log holds passwords: it is made 0600 whatever the umask, a log that an
// earlier version left readable is narrowed, and a link under its name is
// not written through.
TEST_F(AtLog, TheLogIsTheUsersAloneAndNoLinkIsFollowed)
{
    const mode_t umaskBefore = ::umask(022);
    LogNote("one", FixedTime);
    ::umask(umaskBefore);
    EXPECT_EQ(ModeOf(AtLogPath()), 0600u);
    ::chmod(AtLogPath().c_str(), 0644);
    LogNote("two", FixedTime);
    EXPECT_EQ(ModeOf(AtLogPath()), 0600u);

    fs::rename(AtLogPath(), m_folder.File("target"));
    fs::create_symlink(m_folder.File("target"), AtLogPath());
    LogNote("three", FixedTime);
    EXPECT_EQ(ReadBytes(m_folder.File("target")), kStamp + "one\r\r\n" + kStamp + "two\r\r\n");
    // The refusal is of that record alone: with the link gone, the log goes on.
    fs::remove(AtLogPath());
    LogNote("four", FixedTime);
    EXPECT_EQ(ReadBytes(AtLogPath()), kStamp + "four\r\r\n");
}

TEST_F(AtLog, TheRealClockGivesTheSameShape)
{
    LogNote("now");
    const std::string record = ReadBytes(AtLogPath());
    EXPECT_TRUE(std::regex_match(record, std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d now\r\r\n)")))
        << record;
}

} // namespace
