#include "params/atcmd_codec.h"
#include "params/clock_text.h"

#include <gtest/gtest.h>

using namespace params;

namespace {

struct ForwardingCase
{
    const char *name;
    const char *value;
    ForwardingFields expected;
};

void PrintTo(const ForwardingCase &row, std::ostream *os)
{
    *os << row.name;
}

class ForwardingParser : public testing::TestWithParam<ForwardingCase>
{
};

TEST_P(ForwardingParser, SplitsTheFields)
{
    const ForwardingCase &c = GetParam();
    const ForwardingFields fields = ParseForwarding(c.value);
    EXPECT_EQ(fields.status, c.expected.status);
    EXPECT_EQ(fields.classOrMode, c.expected.classOrMode);
    EXPECT_EQ(fields.number, c.expected.number);
    EXPECT_EQ(fields.type, c.expected.type);
    EXPECT_EQ(fields.time, c.expected.time);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ForwardingParser,
    testing::Values(
        // The terminal's replies.
        ForwardingCase{"VoiceActive", "1,1,\"+5550100\",145", {"1", "1", "+5550100", "145", ""}},
        ForwardingCase{"Inactive", "0,1", {"0", "1", "", "", ""}},
        ForwardingCase{"AllClassesInactive", "0,7", {"0", "7", "", "", ""}},
        ForwardingCase{"QuotedEmptySubaddress",
                       "1,1,\"5550100\",129,\"\",,20",
                       {"1", "1", "5550100", "129", "20"}},
        ForwardingCase{"UnquotedEmptySubaddress",
                       "1,1,\"5550100\",129,,,20",
                       {"1", "1", "5550100", "129", "20"}},
        ForwardingCase{
            "Subaddress", "1,1,\"5550100\",129,\"12\",128,25", {"1", "1", "5550100", "129", "25"}},
        ForwardingCase{"SubaddressWithoutTime",
                       "1,1,\"5550100\",129,\"12\",128",
                       {"1", "1", "5550100", "129", ""}},
        ForwardingCase{"DataClassSixteen",
                       "1,16,\"+48111222333\",145,,,",
                       {"1", "16", "+48111222333", "145", ""}},
        ForwardingCase{"Blanks", " 0, 7", {"0", "7", "", "", ""}},
        ForwardingCase{"BlanksEverywhere",
                       "1, 1, \"+5550100\" , 145 , , , 20",
                       {"1", "1", "+5550100", "145", "20"}},
        ForwardingCase{"CommaInsideQuotes", "1,1,\"55,50\",129", {"1", "1", "55,50", "129", ""}},
        ForwardingCase{"UnquotedNumber", "1,1,5550100,129", {"1", "1", "5550100", "129", ""}},
        ForwardingCase{"UnterminatedQuote", "1,1,\"5550100", {"1", "1", "5550100", "", ""}},
        ForwardingCase{"TooShort", "1", {"1", "", "", "", ""}},
        ForwardingCase{"Empty", "", {"", "", "", "", ""}},
        // The tool's own entries: reason and mode first.
        ForwardingCase{
            "StoredNoReply", "2,3,\"5550100\",129,\"\",,20", {"2", "3", "5550100", "129", "20"}},
        ForwardingCase{
            "ExportedNoReply", "2,3,\"+5550100\",145,7,,,05", {"2", "3", "+5550100", "145", "05"}},
        ForwardingCase{"EraseAll", "4,4", {"4", "4", "", "", ""}}),
    [](const testing::TestParamInfo<ForwardingCase> &row) { return row.param.name; });

struct ReplyCase
{
    const char *name;
    const char *command;
    const char *argument;
    const char *value;
    const char *key; // nullptr: nothing is stored
    const char *stored;
};

void PrintTo(const ReplyCase &row, std::ostream *os)
{
    *os << row.name;
}

class ReplyStoreEntry : public testing::TestWithParam<ReplyCase>
{
};

TEST_P(ReplyStoreEntry, StoresTheVoiceLineInTheToolsForm)
{
    const ReplyCase &c = GetParam();
    const std::optional<AtcmdEntry> entry = AtReplyEntry(c.command, c.argument, c.value);
    if (!c.key) {
        EXPECT_FALSE(entry.has_value()) << entry->key << "=" << entry->value;
        return;
    }
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->key, c.key);
    EXPECT_EQ(entry->value, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyStoreEntry,
    testing::Values(
        ReplyCase{"Registered", "AT+CCFC", "=0,2", "1,1,\"+5550100\",145", "AT+CCFC0",
                  "\"0,3,\"+5550100\",145\""},
        ReplyCase{"Erased", "AT+CCFC", "=1,2", "0,1", "AT+CCFC1", "\"1,4\""},
        ReplyCase{"AllClassesIgnored", "AT+CCFC", "=1,2", "0,7", nullptr, nullptr},
        ReplyCase{"DataClassIgnored", "AT+CCFC", "=0,2", "1,16,\"+48111222333\",145,,,", nullptr,
                  nullptr},
        ReplyCase{"ClassTwelveIgnored", "AT+CCFC", "=0,2", "1,12", nullptr, nullptr},
        ReplyCase{"NoReplyWithQuotedSubaddress", "AT+CCFC", "=2,2", "1,1,\"5550100\",129,\"\",,20",
                  "AT+CCFC2", "\"2,3,\"5550100\",129,\"\",,20\""},
        ReplyCase{"NoReplyWithUnquotedSubaddress", "AT+CCFC", "=2,2", "1,1,\"5550100\",129,,,20",
                  "AT+CCFC2", "\"2,3,\"5550100\",129,\"\",,20\""},
        ReplyCase{"NoReplyWithoutTime", "AT+CCFC", "=2,2", "1,1,\"5550100\",129", "AT+CCFC2",
                  "\"2,3,\"5550100\",129\""},
        ReplyCase{"TimeOnlyForNoReply", "AT+CCFC", "=3,2", "1,1,\"5550100\",129,,,20", "AT+CCFC3",
                  "\"3,3,\"5550100\",129\""},
        ReplyCase{"Blanks", "AT+CCFC", "=0,2", "1, 1, \"+5550100\", 145", "AT+CCFC0",
                  "\"0,3,\"+5550100\",145\""},
        ReplyCase{"ReasonFourNeverStored", "AT+CCFC", "=4,2", "0,1", nullptr, nullptr},
        ReplyCase{"EmptyValue", "AT+CCFC", "=0,2", "", nullptr, nullptr},
        ReplyCase{"TooShort", "AT+CCFC", "=0,2", "1,", nullptr, nullptr},
        ReplyCase{"CommandCaseMatters", "at+ccfc", "=0,2", "0,1", nullptr, nullptr},
        ReplyCase{"WaitingOn", "AT+CCWA", "=1,2", "1,1", "AT+CCWA", "\"1,2\""},
        ReplyCase{"WaitingOffAllClasses", "AT+CCWA", "=1,2", "0,7", "AT+CCWA", "\"0,2\""},
        ReplyCase{"WaitingOtherClass", "AT+CCWA", "=1,2", "1,2", nullptr, nullptr},
        ReplyCase{"WaitingClassSeventeen", "AT+CCWA", "=1,2", "1,17", nullptr, nullptr},
        ReplyCase{"ClockUnchanged", "AT+CCLK", "?", "\"25/04/11,09:30:00+08\"", "AT+CCLK",
                  "\"25/04/11,09:30:00+08\""},
        ReplyCase{"OtherCommand", "AT+CLIP", "?", "1,1", nullptr, nullptr}),
    [](const testing::TestParamInfo<ReplyCase> &row) { return row.param.name; });

TEST(AtcmdFormats, ExportForms)
{
    EXPECT_EQ(ExportForwardingRegistration(0, "+5550100", "10"), "0,3,\"+5550100\",145");
    EXPECT_EQ(ExportForwardingRegistration(1, "5550100", "10"), "1,3,\"5550100\",129");
    EXPECT_EQ(ExportForwardingRegistration(2, "5550100", "25"), "2,3,\"5550100\",129,7,,,25");
    EXPECT_EQ(FormatForwardingInactive(3), "3,4");
    EXPECT_EQ(ExportCallWaiting(true), "1,1");
    EXPECT_EQ(ExportCallWaiting(false), "0,0,7");
}

TEST(AtcmdLines, KeyLosesItsReasonDigitAndTheClockGetsQuotes)
{
    EXPECT_EQ(BuildAtCommandLine("AT+CCFC0", "0,3,\"+5550100\",145"),
              "AT+CCFC=0,3,\"+5550100\",145\r");
    EXPECT_EQ(BuildAtCommandLine("AT+CCFC4", "4,4"), "AT+CCFC=4,4\r");
    EXPECT_EQ(BuildAtCommandLine("AT+CCWA", "1,1"), "AT+CCWA=1,1\r");
    EXPECT_EQ(BuildAtCommandLine("AT+CCLK", "11/04/25,10:30:00-03"),
              "AT+CCLK=\"11/04/25,10:30:00-03\"\r");
}

struct BuildClockCase
{
    const char *date;
    const char *time;
    const char *zone;
    const char *expected;
};

TEST(ClockText, BuiltOnlyFromAFullDateTimeAndAValidZone)
{
    const BuildClockCase cases[] = {
        {"250411", "0930", "-03", "11/04/25,09:30:00-03"},
        {"010199", "2359", "+48", "99/01/01,23:59:00+48"},
        {"250411", "0930", "+49", ""},
        {"250411", "0930", "03", ""},
        {"250411", "0930", "-3", ""},
        {"250411", "0930", "-0x", ""},
        {"25041", "0930", "-03", ""},
        {"2504111", "0930", "-03", ""},
        {"250411", "930", "-03", ""},
        {"25a411", "0930", "-03", ""},
        {"", "", "-03", ""},
    };
    for (const BuildClockCase &c : cases)
        EXPECT_EQ(BuildClockText(c.date, c.time, c.zone), c.expected)
            << c.date << " " << c.time << " " << c.zone;
}

TEST(ClockText, ParsesTheTerminalsAndTheExportsForm)
{
    const ClockFields quoted = ParseClockText("\"25/04/11,09:30:17+08\"");
    EXPECT_EQ(quoted.date, "110425");
    EXPECT_EQ(quoted.time, "0930");
    EXPECT_EQ(quoted.zone, "+08");
    const ClockFields exported = ParseClockText("11/04/25,09:30:00-03");
    EXPECT_EQ(exported.date, "250411");
    EXPECT_EQ(exported.time, "0930");
    EXPECT_EQ(exported.zone, "-03");
    // Taking it apart and building it again gives the same text.
    EXPECT_EQ(BuildClockText(exported.date, exported.time, exported.zone), "11/04/25,09:30:00-03");

    for (const char *bad : {"", "\"\"", "2025/04/11,09:30:00+08", "25/04/11,09:30:00",
                            "25/04/11 09:30:00+08", "25/04/11,09:30:00+8", "\"25/04/11,09:30:00+08",
                            "25/O4/11,09:30:00+08", "25/04/11,09:30:00+08x"}) {
        const ClockFields fields = ParseClockText(bad);
        EXPECT_TRUE(fields.date.empty() && fields.time.empty() && fields.zone.empty()) << bad;
    }
}

} // namespace
