#include "engine/read_job.h"
#include "job_driver.h"
#include "params/ini_file.h"
#include "params/read_lists.h"
#include "platform/messages.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace platform;
using Strings = std::vector<std::string>;
using Params = FakeJobContext::Params;

namespace {

// A terminal with fixed parameter values; unknown numbers are refused.
Answer Terminal(std::map<std::string, std::string> values,
                std::map<std::string, Strings> queries = {})
{
    return [values, queries](const std::string &command) -> Strings {
        const std::string prefix = "AT+RPAR=";
        if (command.rfind(prefix, 0) == 0) {
            auto it = values.find(command.substr(prefix.size()));
            return it == values.end() ? Strings{"ERROR"} : Strings{"+RPAR: " + it->second, "OK"};
        }
        auto it = queries.find(command);
        Strings lines = it == queries.end() ? Strings{} : it->second;
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
    void AtQueries(Strings commands, Strings arguments, Strings names = {})
    {
        lists.atCommands = std::move(commands);
        lists.atArguments = std::move(arguments);
        lists.atNames = std::move(names);
    }

    FakeJobContext context;
    ReadLists lists;
    ReadJob job{context, lists};
};

TEST_F(ReadJobTest, EmptyListsEndWithSuccessAtOnce)
{
    Drive(job, context, Terminal({}));
    EXPECT_TRUE(context.Sent().empty());
    EXPECT_EQ(context.Posted(WM_READ_PARA_OK_NOTIFY), (Params{{4, 0}}));
}

TEST_F(ReadJobTest, StoresValuesQuotedUnderTheListedKey)
{
    lists.numbers = {"2", "05", "16513"};
    Drive(job, context, Terminal({{"2", "5"}, {"05", "01"}, {"16513", ""}}));
    EXPECT_EQ(context.Timeline().front(), "pause 20") << "before the first command";
    EXPECT_EQ(Stored("PARA", "2"), "5");
    EXPECT_EQ(Stored("PARA", "05"), "01") << "the key is the list's text";
    EXPECT_NE(ReadBytes(context.TempParameterFilePath()).find("16513=\"\""), std::string::npos);
    EXPECT_EQ(context.Posted(WM_READ_PARA_OK_NOTIFY).size(), 1u);
}

TEST(ReadJobVerdict, BlankRecordsAndEmptyValues)
{
    // The value, its parameter number, the verdict and what is stored.
    const std::tuple<const char *, const char *, int, const char *> cases[] = {
        {"0*0*0*0", "16212", 0, "\"0*0*0*0\""},
        {"10.0.0.1", "16212", 0, "\"10.0.0.1\""}, // contains "0.0": counts as blank, still stored
        {"***", "2", 0, "\"***\""},
        {"0800", "3005", 1, "\"0800\""},
        {"", "16212", 1, "\"\""}, // an empty call back entry does not end the list
        {"", "2", 0, "\"\""},
        // The edges of the forbidden list (3001..3020) and the call back list (16212..16511).
        {"", "3000", 0, "\"\""},
        {"", "3001", 1, "\"\""},
        {"", "3020", 1, "\"\""},
        {"", "3021", 0, "\"\""},
        {"EMPTY", "16211", 0, "\"\""},
        {"EMPTY", "16511", 1, "\"\""},
        {"EMPTY", "16512", 0, "\"\""},
    };
    for (const auto &[value, number, verdict, stored] : cases) {
        std::string got;
        EXPECT_EQ(ReadJob::Verdict(value, number, got), verdict) << value << " for " << number;
        EXPECT_EQ(got, stored) << value;
    }
}

TEST_F(ReadJobTest, ABlankRecordEndsTheBlock)
{
    lists.numbers = {"16517", kReadBlockStart, "16212", "16213", "16214", kReadBlockEnd, "16539"};
    Drive(job, context,
          Terminal({{"16517", "01"},
                    {"16212", "555"},
                    {"16213", "0*0*0*0"},
                    {"16214", "7"},
                    {"16539", "10"}}));
    EXPECT_EQ(ReadNumbers(), (Strings{"16517", "16212", "16213", "16539"}));
    const Params progress = context.Posted(WM_READ_PARA_PROGRESS_NOTIFY);
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress.back().second, 4) << "only lines sent are counted";
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
    AtQueries({"AT+CCLK"}, {"?"}, {"Change Date and Time 0801&0802"});
    Drive(job, context,
          Terminal({{"2", "5"}}, {{"AT+CCLK?", {"+CCLK: \"11/04/25,10:30:00-03\""}}}));
    EXPECT_EQ(context.Sent(), (Strings{"AT+RPAR=2", "AT+CCLK?"}));
    EXPECT_EQ(Stored("ATCMD", "AT+CCLK"), "11/04/25,10:30:00-03");
    EXPECT_EQ(context.Posted(WM_READ_PARA_OK_NOTIFY).size(), 1u);
}

TEST_F(ReadJobTest, AnErrorStopsTheJobAndKeepsWhatWasStored)
{
    lists.numbers = {"2", "05", "3005", "16543"};
    AtQueries({"AT+CCLK"}, {"?"});
    Drive(job, context, Terminal({{"2", "5"}, {"05", "01"}}));
    EXPECT_EQ(ReadNumbers(), (Strings{"2", "05", "3005"}));
    EXPECT_EQ(context.Posted(WM_READ_PARA_ERR_NOTIFY), (Params{{3, 3005}}));
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
    AtQueries({"AT+CCWA", "AT+CCFC", "AT+CCFC"}, {"=1,2", "=0,2", "=1,2"},
              {"Call Waiting 0495", "Forward Unconditional 0496", "Forward When Busy 0497"});
    Drive(job, context,
          Terminal({}, {{"AT+CCWA=1,2", {"+CCWA: 1,1", "+CCWA: 0,2"}},
                        {"AT+CCFC=0,2", {"+CCFC: 1,1,\"+5550100\",145", "+CCFC: 0,2"}},
                        {"AT+CCFC=1,2", {"ERROR"}}}));
    EXPECT_EQ(Stored("ATCMD", "AT+CCWA"), "1,2");
    EXPECT_EQ(Stored("ATCMD", "AT+CCFC0"), "0,3,\"+5550100\",145");
    EXPECT_EQ(context.Posted(WM_READ_PARA_ERR_NOTIFY), (Params{{4, 2}}));
    EXPECT_EQ(context.Posted(WM_READ_PARA_PROGRESS_NOTIFY), (Params{{4, 1}, {4, 2}, {4, 3}}));
}

// A temporary file that cannot be written: a folder in its place (a
// permission would not stop a test run as root).
class ReadJobStoreFails : public ReadJobTest
{
protected:
    void SetUp() override { std::filesystem::create_directory(context.TempParameterFilePath()); }

    void ExpectTheReadEndedNamingTheFile(uintptr_t step, intptr_t item)
    {
        EXPECT_TRUE(context.Has(FakeJobContext::Event::Completed));
        EXPECT_TRUE(context.Posted(WM_READ_PARA_OK_NOTIFY).empty());
        EXPECT_EQ(context.Posted(WM_READ_PARA_STORE_ERR_NOTIFY), (Params{{step, item}}));
        const std::string reason = context.Carried(WM_READ_PARA_STORE_ERR_NOTIFY).text;
        EXPECT_NE(reason.find(context.TempParameterFilePath()), std::string::npos) << reason;
        EXPECT_NE(reason.find("directory"), std::string::npos) << reason;
    }
};

TEST_F(ReadJobStoreFails, AParameterValueEndsTheReadAtOnce)
{
    lists.numbers = {"2", "5"};
    AtQueries({"AT+CCLK"}, {"?"});
    Drive(job, context, Terminal({{"2", "5"}, {"5", "01"}}));
    EXPECT_EQ(context.Sent(), Strings{"AT+RPAR=2"});
    ExpectTheReadEndedNamingTheFile(3, 2);
}

TEST_F(ReadJobStoreFails, AnAtReplyEndsTheRead)
{
    AtQueries({"AT+CCWA", "AT+CCLK"}, {"=1,2", "?"});
    Drive(job, context, Terminal({}, {{"AT+CCWA=1,2", {"+CCWA: 1,1"}}}));
    EXPECT_EQ(context.Sent(), Strings{"AT+CCWA=1,2"});
    ExpectTheReadEndedNamingTheFile(4, 0);
}

} // namespace
