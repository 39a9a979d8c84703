#include "params/catalogue.h"
#include "params/ini_document.h"
#include "params/language.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"
#include "params/text_value.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

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

// Every number the reports name (each setting's, the lists' first and last
// entries, the PIN entries, numbers the catalogue does not know) and every
// AT setting's label, in the three languages, against the reviewed
// golden/catalogue_names.txt: number, page, English, Portuguese, Spanish.
TEST(Catalogue, NamesNumbersForTheReports)
{
    std::vector<unsigned> numbers = {0, 2500, 65535};
    for (const SlotInfo &info : AllSlots())
        numbers.insert(numbers.end(), {info.number, info.alsoNumber});
    for (const ListInfo &list : {kForbiddenList, kCallBackList})
        numbers.insert(numbers.end(), {list.firstNumber, list.firstNumber + list.count - 1u});
    for (unsigned number = kResetCallBackListNumber; number <= kPinFollowUpCheckNumber; ++number)
        numbers.push_back(number);
    std::vector<std::string> lines;
    for (unsigned number : std::set<unsigned>(numbers.begin(), numbers.end())) {
        std::string line = std::to_string(number) + '\t' +
                           std::to_string(NameParameter(number, lang::kEnglish).pageTemplate);
        for (int language : {lang::kEnglish, lang::kPortuguese, lang::kSpanish, 7})
            line += '\t' + NameParameter(number, language).name;
        lines.push_back(line);
    }
    for (const AtSetting &setting : AllAtSettings()) {
        std::string line = setting.key;
        for (int language : {lang::kEnglish, lang::kPortuguese, lang::kSpanish})
            line += '\t' + std::string(setting.label.Pick(language));
        lines.push_back(line);
    }
    ExpectGolden(KESTREL_PARAMS_GOLDEN_DIR "/catalogue_names.txt", lines);
}

// The setting of a written line: the rows "named" of golden/imports.txt.
TEST(Catalogue, FindsTheSettingOfAKey)
{
    EXPECT_EQ(FindAtSetting("at+ccfc3")->slot, Slot::ForwardOffOrNotFound);
    EXPECT_EQ(ForwardSettingOf(4).key, std::string("AT+CCFC4")); // reasons 0 to 4 only
    EXPECT_THROW(ForwardSettingOf(5), std::out_of_range);
    EXPECT_THROW(ForwardSettingOf(-1), std::out_of_range);
}

// The numbers and then the AT queries a read asks for, runs of three or
// more numbers as "first..last".
std::string Asked(const ReadLists &lists)
{
    const auto follows = [&](size_t i) {
        const std::string &a = lists.numbers[i - 1], &b = lists.numbers[i];
        return IsAllDigits(a) && IsAllDigits(b) && std::stoul(b) == std::stoul(a) + 1;
    };
    std::string asked;
    for (size_t i = 0; i < lists.numbers.size(); ++i) {
        if (i > 0 && i + 1 < lists.numbers.size() && follows(i) && follows(i + 1)) {
            if (!asked.ends_with(".."))
                asked += "..";
            continue;
        }
        asked += (asked.empty() || asked.ends_with("..") ? "" : "|") + lists.numbers[i];
    }
    for (size_t i = 0; i < lists.AtQueryCount(); ++i)
        asked += "|" + lists.atCommands[i] + lists.atArguments[i] + " " + lists.atNames[i];
    return asked;
}

// How far a read that failed reached (`ReachOfRead`) with `stored` in its
// file after `atQueriesSent` queries, and the pages it did not reach, of a
// read for three pages: 1 asks for the numbers up to 5000, 2 for 16543 and
// call waiting, 3 for the clock alone.
std::string Reach(const std::string &stored, size_t atQueriesSent)
{
    ReadLists lists;
    lists.numbers = {"05", "-O -B", "3001", "3002", "3003", "-O\t-E", "5000", "16543"};
    lists.AppendAtQuery("AT+CCWA", "=1,2", "");
    lists.AppendAtQuery("AT+CCLK", "?", "");
    const ReadShare shares[] = {{1, 7, 0}, {2, 8, 1}, {3, 8, 2}};
    IniDocument file;
    file.Parse("[PARA]\n" + stored);
    const ReadReach reach = ReachOfRead(lists, file, atQueriesSent);
    std::string line = "numbers " + std::to_string(reach.numbers) + ", queries " +
                       std::to_string(reach.atQueries) + ", pages not reached";
    for (int page : PagesNotReached(shares, reach))
        line += " " + std::to_string(page);
    return line;
}

// "page N [LANGUAGE [SWITCHES]]": what page N asks a read for, its labels in
// the language's code (1 English), the forward page with the switches given
// as master, call waiting and forwarding bits ("101"). "reach STORED SENT":
// how far a failed read reached (Reach).
TEST(ReadLists, AsTheTranscriptSays)
{
    const auto take = [](const std::string &line) -> std::vector<std::string> {
        const std::vector<std::string> words = Words(line);
        if (words.size() == 3 && words[0] == "reach")
            return {Reach(words[1], std::stoul(words[2]))};
        if (words.size() < 2 || words[0] != "page")
            return {};
        const std::string bits = words.size() > 3 ? words[3] : "000";
        lang::SetCode(words.size() > 2 ? std::stoi(words[2]) : lang::kEnglish);
        ReadLists lists;
        AppendPageReadItems(Page(std::stoi(words[1])), lists,
                            {bits[0] == '1', bits[1] == '1', bits[2] == '1'});
        lang::SetCode(lang::kEnglish);
        return {OneLine(Asked(lists))};
    };
    ExpectTranscript(KESTREL_PARAMS_GOLDEN_DIR "/read_asks.txt", take, NoResults);
}

// The first read asks for every page at its initial state, in page order.
TEST(ReadLists, TheFirstReadAsksForEveryPageInTurn)
{
    ReadLists lists, pages;
    AppendInitialReadItems(lists);
    for (size_t page = 0; page < kPageCount; ++page)
        AppendPageReadItems(Page(page), pages);
    EXPECT_EQ(Asked(lists), Asked(pages));
    // A query added without its argument is sent bare.
    ReadLists bare;
    bare.AppendAtQuery("AT+CCWA", "=1,2", "");
    bare.atCommands.push_back("AT+CGMR");
    EXPECT_EQ(bare.AtArgument(0), "=1,2");
    EXPECT_EQ(bare.AtArgument(1), "");
    lists.Clear();
    EXPECT_TRUE(lists.numbers.empty() && lists.atCommands.empty() && lists.atArguments.empty() &&
                lists.atNames.empty());
}

} // namespace
