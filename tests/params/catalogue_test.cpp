#include "params/catalogue.h"
#include "params/ini_document.h"
#include "params/language.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"
#include "params/text_value.h"
#include "sample_stores.h"
#include "slot_defaults.h"

#include <gtest/gtest.h>
#include <set>

using namespace params;

namespace {

TEST(TextValue, FileNameAfterEitherSeparator)
{
    for (const char *path : {"C:\\Users\\tech\\x.ini", "/home/tech/x.ini", "a/b\\x.ini", "x.ini"})
        EXPECT_EQ(FileNameOf(path), "x.ini") << path;
}

// A text's marks take the values in order; a value is never read for marks.
TEST(Language, FillsTheMarksInOrder)
{
    EXPECT_EQ(lang::Fill("%s of %d", {"1 to 3", 9}), "1 to 3 of 9");
    EXPECT_EQ(lang::Fill("position %04d, %3d", {7, -5}), "position 0007,  -5");
    EXPECT_EQ(lang::Fill("%04d|%4s|%lu", {-7, "ab", 12u}), "-007|  ab|12");
    EXPECT_EQ(lang::Fill("100%% of %s, %s and %n", {"one"}), "100% of one, %s and %n");
    EXPECT_EQ(lang::Fill("%s", {std::string("%d")}), "%d");
}

TEST(Catalogue, EveryNumberBelongsToOneSettingExceptTheCspModes)
{
    std::set<unsigned> seen;
    for (const SlotInfo &info : AllSlots()) {
        for (unsigned number : {unsigned(info.number), unsigned(info.alsoNumber)}) {
            if (!number || info.rule == WriteRule::CspMode)
                continue;
            EXPECT_TRUE(seen.insert(number).second) << number;
            EXPECT_FALSE(kForbiddenList.Contains(number) || kCallBackList.Contains(number));
        }
    }
    for (unsigned written :
         {kResetCallBackListNumber, kPinChangeNumber, kPinCheckOnNumber, kPinCheckOffNumber})
        EXPECT_EQ(seen.count(written), 0u) << written;
}

TEST(Catalogue, ResetGivesEverySlotItsDefaultAndKeepsTheKeptOnes)
{
    ParameterStore store;
    for (std::string &slot : store.slotTexts)
        slot = "x";
    store.forbidden[3] = "123";
    store.callBack[299] = "456";
    store.waitingForwardEnabled = store.callWaitingIncluded = store.forwardingIncluded = 1;
    store.pinWriteMode = 2;
    const ParameterStore expected = defaults::AfterReset(store);
    store.ResetToDefaults();
    EXPECT_EQ(store, expected) << "lists emptied, integers kept";
}

struct NamingCase
{
    unsigned number;
    int language;
    const char *name;
    int page;
};

TEST(Catalogue, NamesNumbersForTheReports)
{
    const NamingCase cases[] = {
        {32, lang::kEnglish, "General Password:", 193},
        {3001, lang::kEnglish, "Please input a number in the position 0811", 133},
        {3005, lang::kEnglish, "Please input a number in the position 0815", 133},
        {16212, lang::kEnglish, "Please input a number in the position:1507", 185},
        {16511, lang::kPortuguese, "Por favor, insira um número na posição:1806", 185},
        {16543, lang::kSpanish, "Recepción", 184},
        {33, lang::kPortuguese, "Habilitar adicionar prefixo", 186},
        {16541, lang::kEnglish, "Enable CSP for Call Back", 187},
        {16547, lang::kSpanish, "Borrar lista del call back", 185},
        {16512, lang::kPortuguese, "Enable Call Back Number Header-1807", 185},
        {2500, lang::kEnglish, "Parameter = 2500", 0},
        {0, lang::kEnglish, "Parameter = 0", 0},
        {16550, lang::kSpanish, "Parámetro = 16550", 0},
        {32, 7, "", 193},
    };
    for (const NamingCase &c : cases) {
        const ParameterNaming naming = NameParameter(c.number, c.language);
        EXPECT_EQ(naming.name, c.name) << c.number;
        EXPECT_EQ(naming.pageTemplate, c.page) << c.number;
    }
}

TEST(Catalogue, FindsTheSettingOfAWrittenLine)
{
    const auto labelOf = [](const char *line) {
        const AtSetting *setting = FindAtSettingInLine(line);
        return setting ? std::string(setting->label.en) : std::string("-");
    };
    EXPECT_EQ(labelOf("AT+CCWA=1,1\r"), "Call Waiting 0495");
    EXPECT_EQ(labelOf("AT+CCFC=2,3,\"5550100\",129,7,,,20\r"), "Forward When No Answer 0498");
    EXPECT_EQ(labelOf("AT+CCFC=4,4\r"), "Forward all calls");
    EXPECT_EQ(labelOf("AT+CCLK=\"11/04/25,09:30:00-03\"\r"), "Change Date and Time 0801&0802");
    EXPECT_EQ(labelOf("AT+WPAR=2,\"5\"\r"), "-");
    EXPECT_EQ(FindAtSetting("at+ccfc3")->slot, Slot::ForwardOffOrNotFound);
}

TEST(ReadLists, ForbidsPageAsksForItsListAsOneBlock)
{
    ReadLists lists;
    AppendPageReadItems(Page::Forbids, lists);
    std::vector<std::string> expected = {"05", "35", "3000", "-O -B"};
    for (int number = 3001; number <= 3020; ++number)
        expected.push_back(std::to_string(number));
    expected.insert(expected.end(), {"-O\t-E", "5000"});
    EXPECT_EQ(lists.numbers, expected);
    EXPECT_EQ(lists.AtQueryCount(), 0u);
}

TEST(ReadLists, ForwardPageAsksOnlyForWhatItsSwitchesInclude)
{
    lang::SetCode(lang::kPortuguese);
    ReadLists lists;
    AppendPageReadItems(Page::Forward, lists, {false, true, true});
    EXPECT_EQ(lists.AtQueryCount(), 0u);
    AppendPageReadItems(Page::Forward, lists, {true, true, false});
    AppendPageReadItems(Page::Forward, lists, {true, false, true});
    lang::SetCode(lang::kEnglish);
    EXPECT_TRUE(lists.numbers.empty());
    EXPECT_EQ(lists.atCommands,
              (std::vector<std::string>{"AT+CCWA", "AT+CCFC", "AT+CCFC", "AT+CCFC", "AT+CCFC"}));
    EXPECT_EQ(lists.atArguments,
              (std::vector<std::string>{"=1,2", "=0,2", "=1,2", "=2,2", "=3,2"}));
    // Call waiting keeps its English label in every language.
    EXPECT_EQ(lists.atNames[0], "Call Waiting 0495");
    EXPECT_EQ(lists.atNames[1], "Habilitar desvio sempre 0496");
    EXPECT_EQ(lists.atNames[4], "Habilitar desvio se desligado 0499");
}

TEST(ReadLists, ElevenPagesAtTheirInitialState)
{
    lang::SetCode(lang::kSpanish);
    ReadLists lists;
    AppendInitialReadItems(lists);
    lang::SetCode(lang::kEnglish);
    // 26 Forbids, 3 Prefix, 2 CSP, 1 Restricted ID, 4 Security code,
    // 1 Polarity, 6 Times, 2 Volume, 6 + 302 Call back.
    EXPECT_EQ(lists.numbers.size(), 26u + 3 + 2 + 1 + 4 + 1 + 6 + 2 + 308);
    EXPECT_EQ(lists.numbers[26], "34");
    EXPECT_EQ(lists.numbers[43], "16543");
    EXPECT_EQ(lists.numbers[51], "-O -B");
    EXPECT_EQ(lists.numbers[52], "16212");
    EXPECT_EQ(lists.numbers.back(), "-O\t-E");
    EXPECT_EQ(lists.atCommands, std::vector<std::string>{"AT+CCLK"});
    EXPECT_EQ(lists.atArguments, std::vector<std::string>{"?"});
    EXPECT_EQ(lists.atNames, std::vector<std::string>{"Ajustar la fecha y hora 0801&0802"});
    lists.Clear();
    EXPECT_TRUE(lists.numbers.empty() && lists.atCommands.empty() && lists.atArguments.empty() &&
                lists.atNames.empty());
}

// A read that failed reached as far as its last stored number (past the
// rest of a block after its blank record), or into its AT queries; the
// pages with anything beyond hold values it did not read.
TEST(ReadLists, AFailedReadReachesPastWhatItStored)
{
    ReadLists lists;
    lists.numbers = {"05", "-O -B", "3001", "3002", "3003", "-O\t-E", "5000", "16543"};
    lists.AppendAtQuery("AT+CCWA", "=1,2", "");
    lists.AppendAtQuery("AT+CCLK", "?", "");
    // Page 1 asks for the numbers up to 5000, page 2 for 16543 and call
    // waiting, page 3 for the clock alone.
    const ReadShare shares[] = {{1, 7, 0}, {2, 8, 1}, {3, 8, 2}};
    struct Case
    {
        const char *stored;
        size_t atQueriesSent;
        size_t numbers, atQueries;
        std::vector<int> notReached;
    };
    // clang-format off
    const Case cases[] = {
        {"", 0, 0, 0, {1, 2, 3}},
        {"05=\"1\"", 0, 2, 0, {1, 2, 3}},
        {"05=\"1\"\n3001=\"7\"\n3002=\"\"", 0, 4, 0, {1, 2, 3}},
        {"05=\"1\"\n3001=\"0*0*0*0\"", 0, 6, 0, {1, 2, 3}},
        {"05=\"1\"\n3001=\"7\"\n3002=\"7\"\n3003=\"7\"", 0, 6, 0, {1, 2, 3}},
        {"05=\"1\"\n3001=\"0*0\"\n5000=\"0\"", 0, 7, 0, {2, 3}},
        {"05=\"1\"\n16543=\"3\"", 0, 8, 0, {2, 3}},
        {"", 1, 8, 0, {2, 3}},
        {"", 2, 8, 1, {3}},
        {"", 3, 8, 2, {}},
    };
    // clang-format on
    for (const Case &c : cases) {
        IniDocument file;
        file.Parse(std::string("[PARA]\n") + c.stored);
        const ReadReach reach = ReachOfRead(lists, file, c.atQueriesSent);
        EXPECT_EQ(reach.numbers, c.numbers) << c.stored << " " << c.atQueriesSent;
        EXPECT_EQ(reach.atQueries, c.atQueries) << c.stored << " " << c.atQueriesSent;
        EXPECT_EQ(PagesNotReached(shares, reach), c.notReached)
            << c.stored << " " << c.atQueriesSent;
    }
}

} // namespace
