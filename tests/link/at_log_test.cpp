#include "link/at_log.h"
#include "link/shared_settings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// 5 March 2011, 14:07:09 local time.
std::tm FixedTime()
{
    std::tm when{};
    when.tm_year = 2011 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 14;
    when.tm_min = 7;
    when.tm_sec = 9;
    return when;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class AtLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kestrel-log-XXXXXX";
        m_root = ::mkdtemp(pattern);
        g_strAppDir = m_root + "/";
        g_strPortName = "/dev/pts/7";
    }
    void TearDown() override
    {
        fs::remove_all(m_root);
        g_strAppDir.clear();
        g_strPortName.clear();
    }

    std::string m_root;
};

TEST_F(AtLog, RecordsOnDiskAreByteExact)
{
    EXPECT_EQ(AtLogPath(), m_root + "/pts_7AtLog.ini");
    LogTraffic("AT+RPAR=20\r", 0, FixedTime);
    LogTraffic("+RPAR: 20,\"1\"", 1, FixedTime);
    LogNote("comm closed after reading\n\n", FixedTime);
    LogNote("comm activated for reading", FixedTime);
    EXPECT_EQ(ReadFile(AtLogPath()), "03/05/2011 14:07:09 Send: AT+RPAR=20\r\r\n"
                                     "03/05/2011 14:07:09 Recv: +RPAR: 20,\"1\"\r\r\n"
                                     "03/05/2011 14:07:09 comm closed after reading\r\n\r\n\r\r\n"
                                     "03/05/2011 14:07:09 comm activated for reading\r\r\n");
}

TEST_F(AtLog, TextRules)
{
    struct Case
    {
        std::string text;
        int direction;
        std::string record; // after the time stamp
    };
    const Case cases[] = {
        {"AT&W\r", 0, "Send: AT&W\r\r\n"}, {"OK", 7, "Recv: OK\r\r\n"},
        {"X\r\r", 0, "Send: X\r\r\r\n"},   {"\r", 0, "Send: \r\r\n"},
        {"a\nb", 1, "Recv: a\r\nb\r\r\n"},
    };
    for (const Case &c : cases) {
        fs::remove(AtLogPath());
        LogTraffic(c.text, c.direction, FixedTime);
        EXPECT_EQ(ReadFile(AtLogPath()), "03/05/2011 14:07:09 " + c.record);
    }
}

TEST_F(AtLog, EmptyTextAddsNothing)
{
    LogTraffic("", 0, FixedTime);
    LogNote("", FixedTime);
    EXPECT_FALSE(fs::exists(AtLogPath()));
    LogNote("x", FixedTime);
    LogNote("", FixedTime);
    EXPECT_EQ(ReadFile(AtLogPath()), "03/05/2011 14:07:09 x\r\r\n");
}

TEST_F(AtLog, EachPortHasItsOwnFileAndTheOldOneStays)
{
    g_strPortName = "ttyUSB0";
    LogNote("one", FixedTime);
    g_strPortName = "ttyUSB1";
    LogNote("two", FixedTime);
    EXPECT_EQ(ReadFile(m_root + "/ttyUSB0AtLog.ini"), "03/05/2011 14:07:09 one\r\r\n");
    EXPECT_EQ(ReadFile(m_root + "/ttyUSB1AtLog.ini"), "03/05/2011 14:07:09 two\r\r\n");
}

TEST_F(AtLog, AFolderThatCannotBeWrittenSkipsTheRecordSilently)
{
    g_strAppDir = m_root + "/missing/";
    LogTraffic("AT\r", 0);
    EXPECT_FALSE(fs::exists(m_root + "/missing"));
}

TEST_F(AtLog, TheRealClockGivesTheSameShape)
{
    LogNote("now");
    const std::string record = ReadFile(AtLogPath());
    ASSERT_EQ(record.size(), 20u + 3u + 3u);
    EXPECT_EQ(record[2], '/');
    EXPECT_EQ(record[5], '/');
    EXPECT_EQ(record[10], ' ');
    EXPECT_EQ(record[13], ':');
    EXPECT_EQ(record.substr(19), " now\r\r\n");
}
