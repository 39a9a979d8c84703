#include "params/atcmd_codec.h"
#include "params/clock_text.h"

#include <gtest/gtest.h>

using namespace params;

namespace {

struct ReplyCase
{
    const char *name;
    std::string query; // command and argument
    const char *value;
    const char *stored; // key=value, "" when nothing is stored
};

// clang-format off
const ReplyCase kReplyCases[] = {
    {"Registered", "AT+CCFC=0,2", "1,1,\"+5550100\",145", "AT+CCFC0=\"0,3,\"+5550100\",145\""},
    {"Erased", "AT+CCFC=1,2", "0,1", "AT+CCFC1=\"1,4\""},
    {"AllClassesIgnored", "AT+CCFC=1,2", "0,7", ""},
    {"DataClassIgnored", "AT+CCFC=0,2", "1,16,\"+48111222333\",145,,,", ""},
    {"ClassTwelveIgnored", "AT+CCFC=0,2", "1,12", ""},
    {"NoReplyWithQuotedSubaddress", "AT+CCFC=2,2", "1,1,\"5550100\",129,\"\",,20",
     "AT+CCFC2=\"2,3,\"5550100\",129,\"\",,20\""},
    {"NoReplyWithUnquotedSubaddress", "AT+CCFC=2,2", "1,1,\"5550100\",129,,,20",
     "AT+CCFC2=\"2,3,\"5550100\",129,\"\",,20\""},
    {"NoReplyWithoutTime", "AT+CCFC=2,2", "1,1,\"5550100\",129",
     "AT+CCFC2=\"2,3,\"5550100\",129\""},
    {"TimeOnlyForNoReply", "AT+CCFC=3,2", "1,1,\"5550100\",129,,,20",
     "AT+CCFC3=\"3,3,\"5550100\",129\""},
    {"Blanks", "AT+CCFC=0,2", "1, 1, \"+5550100\", 145", "AT+CCFC0=\"0,3,\"+5550100\",145\""},
    {"ReasonFourNeverStored", "AT+CCFC=4,2", "0,1", ""},
    {"EmptyValue", "AT+CCFC=0,2", "", ""},
    {"TooShort", "AT+CCFC=0,2", "1,", ""},
    {"CommandCaseMatters", "at+ccfc=0,2", "0,1", ""},
    {"WaitingOn", "AT+CCWA=1,2", "1,1", "AT+CCWA=\"1,2\""},
    {"WaitingOffAllClasses", "AT+CCWA=1,2", "0,7", "AT+CCWA=\"0,2\""},
    {"WaitingOtherClass", "AT+CCWA=1,2", "1,2", ""},
    {"WaitingClassSeventeen", "AT+CCWA=1,2", "1,17", ""},
    {"ClockUnchanged", "AT+CCLK?", "\"25/04/11,09:30:00+08\"", "AT+CCLK=\"25/04/11,09:30:00+08\""},
    {"EmptyClock", "AT+CCLK?", "", ""},
    {"OtherCommand", "AT+CLIP?", "1,1", ""},
    // The fields of a forwarding as the terminal may send them.
    {"SubaddressAndTime", "AT+CCFC=2,2", "1,1,\"5550100\",129,\"12\",128,25", "AT+CCFC2=\"2,3,\"5550100\",129,\"\",,25\""},
    {"SubaddressWithoutTime", "AT+CCFC=2,2", "1,1,\"5550100\",129,\"12\",128", "AT+CCFC2=\"2,3,\"5550100\",129\""},
    {"BlanksEverywhere", "AT+CCFC=2,2", "1, 1, \"+5550100\" , 145 , , , 20", "AT+CCFC2=\"2,3,\"+5550100\",145,\"\",,20\""},
    {"CommaInsideQuotes", "AT+CCFC=0,2", "1,1,\"55,50\",129", "AT+CCFC0=\"0,3,\"55,50\",129\""},
    {"UnquotedNumber", "AT+CCFC=0,2", "1,1,5550100,129", "AT+CCFC0=\"0,3,\"5550100\",129\""},
    {"UnterminatedQuote", "AT+CCFC=0,2", "1,1,\"5550100", "AT+CCFC0=\"0,3,\"5550100\",\""},
    {"StatusOnly", "AT+CCFC=0,2", "1", ""},
};
// clang-format on

TEST(ReplyStoreEntry, StoresTheVoiceLineInTheToolsForm)
{
    for (const ReplyCase &c : kReplyCases) {
        const size_t split = c.query.find_first_of("=?");
        const auto entry = AtReplyEntry(c.query.substr(0, split), c.query.substr(split), c.value);
        EXPECT_EQ(entry ? entry->key + "=" + entry->value : "", c.stored) << c.name;
    }
}

TEST(ClockText, BuiltOnlyFromACalendarDateATimeOfDayAndAValidZone)
{
    // clang-format off
    const std::tuple<const char *, const char *, const char *, const char *> cases[] = {
        {"250411", "0930", "-03", "11/04/25,09:30:00-03"}, {"250411", "0930", "+49", ""},
        {"010199", "2359", "+48", "99/01/01,23:59:00+48"}, {"250411", "0930", "03", ""},
        {"250411", "0930", "-3", ""}, {"250411", "0930", "-0x", ""}, {"25041", "0930", "-03", ""},
        {"2504111", "0930", "-03", ""}, {"250411", "930", "-03", ""}, {"25a411", "0930", "-03", ""},
        {"", "", "-03", ""}, {"991399", "0930", "-03", ""}, {"290223", "0930", "-03", ""},
        {"250411", "2400", "-03", ""}, {"250411", "0960", "-03", ""},
    };
    // clang-format on
    for (const auto &[date, time, zone, expected] : cases)
        EXPECT_EQ(BuildClockText(date, time, zone), expected) << date << " " << time << " " << zone;
}

TEST(ClockText, ParsesTheTerminalsAndTheExportsForm)
{
    const auto parsed = [](const char *text) {
        const ClockFields fields = ParseClockText(text);
        return fields.date + " " + fields.time + " " + fields.zone;
    };
    EXPECT_EQ(parsed("\"25/04/11,09:30:17+08\""), "110425 0930 +08");
    EXPECT_EQ(parsed("11/04/25,09:30:00-03"), "250411 0930 -03");
    // Taking it apart and building it again gives the same text.
    const ClockFields exported = ParseClockText("11/04/25,09:30:00-03");
    EXPECT_EQ(BuildClockText(exported.date, exported.time, exported.zone), "11/04/25,09:30:00-03");

    for (const char *bad :
         {"", "\"\"", "2025/04/11,09:30:00+08", "25/04/11,09:30:00", "25/04/11 09:30:00+08",
          "25/04/11,09:30:00+8", "\"25/04/11,09:30:00+08", "25/O4/11,09:30:00+08",
          "25/04/11,09:30:00+08x", "25/04/11,09:30:001+08", "5/04/11,09:30:00+08"})
        EXPECT_EQ(parsed(bad), "  ") << bad;
}

} // namespace
