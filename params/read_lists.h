#pragma once
// What a read asks the terminal for: the parameter numbers, and three
// parallel lists of AT queries (command, argument, display name). The main
// window clears them before every read; the pages append in page order.

#include "params/catalogue.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The numbers between these two markers form one block, which the read may
// stop early (after a blank record) instead of asking for every entry.
inline constexpr char kReadBlockStart[] = "-O -B";
inline constexpr char kReadBlockEnd[] = "-O\t-E";

// The markers ask the terminal nothing.
inline bool IsReadMarker(std::string_view entry)
{
    return entry == kReadBlockStart || entry == kReadBlockEnd;
}

struct ReadLists
{
    std::vector<std::string> numbers;
    std::vector<std::string> atCommands;
    std::vector<std::string> atArguments;
    std::vector<std::string> atNames;

    void AppendNumber(std::string_view number) { numbers.emplace_back(number); }
    // "first" .. "first + count - 1", each in decimal.
    void AppendNumbers(unsigned first, unsigned count);
    void BeginBlock() { numbers.emplace_back(kReadBlockStart); }
    void EndBlock() { numbers.emplace_back(kReadBlockEnd); }
    void AppendAtQuery(std::string_view command, std::string_view argument, std::string_view name);
    // The query of a setting, named in the given language.
    void AppendAtQuery(const params::AtSetting &setting, int languageCode);

    size_t AtQueryCount() const { return atCommands.size(); }
    // The argument sent after the query's command; none for a query a
    // caller added without one.
    std::string_view AtArgument(size_t index) const
    {
        return index < atArguments.size() ? std::string_view(atArguments[index])
                                          : std::string_view();
    }
    void Clear();
};

namespace params {

// The switches of the call waiting and forward page that decide its queries.
struct ForwardQuerySwitches
{
    bool master = false;
    bool callWaitingIncluded = false;
    bool forwardingIncluded = false;
};

// What one page appends before a read. Labels come in the current language,
// except the call waiting one, which is English in every language.
void AppendPageReadItems(Page page, ReadLists &lists, const ForwardQuerySwitches &forward = {});

// What the eleven pages append at their initial state, in page order.
void AppendInitialReadItems(ReadLists &lists);

class IniDocument;

// How far a read that ended early got. It asks for the numbers in list
// order, then makes the AT queries in list order: every entry before
// `numbers` was answered or passed over (a block ends at its first blank
// record), and so was every query before `atQueries`; nothing after.
struct ReadReach
{
    size_t numbers = 0;
    size_t atQueries = 0;
};

// From what the read stored in `readFile` and the number of AT queries it
// sent (the last of them was still unanswered when it ended).
ReadReach ReachOfRead(const ReadLists &lists, const IniDocument &readFile, size_t atQueriesSent);

// Where one page's share of the read lists ends; it begins where the share
// before it ends.
struct ReadShare
{
    int page;
    size_t numbersEnd;
    size_t atQueriesEnd;
};

// The pages, in share order, that asked for something the read did not reach.
std::vector<int> PagesNotReached(std::span<const ReadShare> shares, const ReadReach &reach);

} // namespace params
