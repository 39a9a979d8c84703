#include "engine/read_job.h"
#include "job_driver.h"
#include "params/ini_file.h"
#include "params/read_lists.h"
#include "platform/messages.h"

#include <gtest/gtest.h>

#include <map>

using namespace platform;
using Strings = std::vector<std::string>;

namespace {

// A terminal with fixed parameter values; unknown numbers are refused.
Answer Terminal(std::map<std::string, std::string> values, std::map<std::string, Strings> queries = {})
{
    return [values, queries](const std::string &command) -> Strings {
        const std::string prefix = "AT+RPAR=";
        if (command.rfind(prefix, 0) == 0) {
            auto it = values.find(command.substr(prefix.size()));
            if (it == values.end())
                return {"ERROR"};
            return {"+RPAR: " + it->second, "OK"};
        }
        auto it = queries.find(command);
        if (it == queries.end())
            return {"OK"};
        Strings lines = it->second;
        lines.push_back("OK");
        return lines;
    };
}

class ReadJobTest : public ::testing::Test
{
protected:
    std::string Stored(const std::string &section, const std::string &key)
    {
        return CIniFile(context.TempParameterFilePath()).GetString(section, key, "<none>");
    }
    Strings ReadNumbers() const
    {
        Strings numbers;
        for (const std::string &line : context.Sent())
            if (line.rfind("AT+RPAR=", 0) == 0)
                numbers.push_back(line.substr(8));
        return numbers;
    }

    FakeJobContext context;
    ReadLists lists;
    CReadJob job{context, lists};
};

TEST_F(ReadJobTest, EmptyListsEndWithSuccessAtOnce)
{
    Drive(job, context, Terminal({}));
    EXPECT_TRUE(context.Sent().empty());
    const auto ok = context.Posted(WM_READ_PARA_OK_NOTIFY);
    ASSERT_EQ(ok.size(), 1u);
    EXPECT_EQ(ok[0].wParam, 4u);
    EXPECT_EQ(ok[0].lParam, 0);
}

TEST_F(ReadJobTest, StoresValuesQuotedUnderTheListedKey)
{
    lists.numbers = {"2", "05", "16513"};
    Drive(job, context, Terminal({{"2", "5"}, {"05", "01"}, {"16513", ""}}));
    EXPECT_EQ(Stored("PARA", "2"), "5");
    EXPECT_EQ(Stored("PARA", "05"), "01") << "the key is the list's text";
    EXPECT_EQ(Stored("PARA", "16513"), "");
    std::string raw;
    {
        std::ifstream in(context.TempParameterFilePath(), std::ios::binary);
        raw.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_NE(raw.find("16513=\"\""), std::string::npos);
    ASSERT_EQ(context.Posted(WM_READ_PARA_OK_NOTIFY).size(), 1u);
}

struct VerdictCase
{
    const char *value;
    const char *number;
    int verdict;
    const char *stored;
};

TEST(ReadJobVerdict, BlankRecordsAndEmptyValues)
{
    const VerdictCase cases[] = {
        {"0*0*0*0", "16212", 0, "\"0*0*0*0\""},
        {"10.0.0.1", "16212", 0, "\"10.0.0.1\""}, // contains "0.0": counts as blank, still stored
        {"***", "2", 0, "\"***\""},
        {"0800", "3005", 1, "\"0800\""},
        {"", "16212", 1, "\"\""},     // an empty call back entry does not end the list
        {"", "3020", 1, "\"\""},
        {"", "2", 0, "\"\""},
        {"EMPTY", "16511", 1, "\"\""},
        {"EMPTY", "16512", 0, "\"\""},
    };
    for (const VerdictCase &c : cases) {
        std::string stored;
        EXPECT_EQ(CReadJob::Verdict(c.value, c.number, stored), c.verdict) << c.value << " for " << c.number;
        EXPECT_EQ(stored, c.stored) << c.value;
    }
}

TEST_F(ReadJobTest, ABlankRecordEndsTheBlock)
{
    lists.numbers = {"16517", kReadBlockStart, "16212", "16213", "16214", kReadBlockEnd, "16539"};
    Drive(job, context, Terminal({{"16517", "01"}, {"16212", "555"}, {"16213", "0*0*0*0"}, {"16214", "7"},
                                  {"16539", "10"}}));
    EXPECT_EQ(ReadNumbers(), (Strings{"16517", "16212", "16213", "16539"}));
    const auto progress = context.Posted(WM_READ_PARA_PROGRESS_NOTIFY);
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress.back().lParam, 4) << "only lines sent are counted";
}

TEST_F(ReadJobTest, EmptyEntriesInsideTheCallBackListDoNotEndTheBlock)
{
    lists.numbers = {kReadBlockStart, "16212", "16213", "16214", kReadBlockEnd};
    Drive(job, context, Terminal({{"16212", ""}, {"16213", ""}, {"16214", "0.0.0.0"}}));
    EXPECT_EQ(ReadNumbers(), (Strings{"16212", "16213", "16214"}));
    EXPECT_EQ(context.Posted(WM_READ_PARA_OK_NOTIFY).size(), 1u);
}

TEST_F(ReadJobTest, TheFirstEntryOfABlockIsAlwaysRead)
{
    // The verdict of the entry before the block does not skip the block.
    lists.numbers = {"2", kReadBlockStart, "3001", "3002", kReadBlockEnd, "5000"};
    Drive(job, context, Terminal({{"2", ""}, {"3001", "0*0"}, {"3002", "1"}, {"5000", "00"}}));
    EXPECT_EQ(ReadNumbers(), (Strings{"2", "3001", "5000"}));
}

TEST_F(ReadJobTest, AMarkerAsLastEntryEndsTheParameterPhase)
{
    lists.numbers = {"2", kReadBlockEnd};
    lists.atCommands = {"AT+CCLK"};
    lists.atArguments = {"?"};
    lists.atNames = {"Change Date and Time 0801&0802"};
    Drive(job, context, Terminal({{"2", "5"}}, {{"AT+CCLK?", {"+CCLK: \"11/04/25,10:30:00-03\""}}}));
    EXPECT_EQ(context.Sent(), (Strings{"AT+RPAR=2", "AT+CCLK?"}));
    EXPECT_EQ(Stored("ATCMD", "AT+CCLK"), "11/04/25,10:30:00-03");
    EXPECT_EQ(context.Posted(WM_READ_PARA_OK_NOTIFY).size(), 1u);
}

TEST_F(ReadJobTest, AnErrorStopsTheJobAndKeepsWhatWasStored)
{
    lists.numbers = {"2", "05", "3005", "16543"};
    lists.atCommands = {"AT+CCLK"};
    lists.atArguments = {"?"};
    Drive(job, context, Terminal({{"2", "5"}, {"05", "01"}}));
    EXPECT_EQ(ReadNumbers(), (Strings{"2", "05", "3005"}));
    const auto errors = context.Posted(WM_READ_PARA_ERR_NOTIFY);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].wParam, 3u);
    EXPECT_EQ(errors[0].lParam, 3005);
    EXPECT_EQ(Stored("PARA", "05"), "01");
}

TEST_F(ReadJobTest, IgnoresUnsolicitedAndForeignLines)
{
    lists.numbers = {"2"};
    Drive(job, context, [](const std::string &) {
        return Strings{"RING", "+CMS ERROR: 500", "+CMTI: \"SM\",3", "+rpar:  7", "OK"};
    });
    EXPECT_EQ(Stored("PARA", "2"), "7");
    EXPECT_EQ(context.Posted(WM_READ_PARA_OK_NOTIFY).size(), 1u);
}

TEST_F(ReadJobTest, AtQueriesStoreTheirVoiceLinesAndReportTheirIndexOnError)
{
    lists.atCommands = {"AT+CCWA", "AT+CCFC", "AT+CCFC"};
    lists.atArguments = {"=1,2", "=0,2", "=1,2"};
    lists.atNames = {"Call Waiting 0495", "Forward Unconditional 0496", "Forward When Busy 0497"};
    Drive(job, context, Terminal({}, {{"AT+CCWA=1,2", {"+CCWA: 1,1", "+CCWA: 0,2"}},
                                      {"AT+CCFC=0,2", {"+CCFC: 1,1,\"+5550100\",145", "+CCFC: 0,2"}},
                                      {"AT+CCFC=1,2", {"ERROR"}}}));
    EXPECT_EQ(Stored("ATCMD", "AT+CCWA"), "1,2");
    EXPECT_EQ(Stored("ATCMD", "AT+CCFC0"), "0,3,\"+5550100\",145");
    const auto errors = context.Posted(WM_READ_PARA_ERR_NOTIFY);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].wParam, 4u);
    EXPECT_EQ(errors[0].lParam, 2);
    const auto progress = context.Posted(WM_READ_PARA_PROGRESS_NOTIFY);
    ASSERT_EQ(progress.size(), 3u);
    EXPECT_EQ(progress[2].wParam, 4u);
    EXPECT_EQ(progress[2].lParam, 3);
}

} // namespace
