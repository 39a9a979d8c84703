#pragma once
// What a read asks the terminal for: the parameter numbers, and three
// parallel lists of AT queries (command, argument, display name). The main
// window clears them before every read; the pages append in page order.

#include "params/catalogue.h"

#include <string>
#include <string_view>
#include <vector>

// The numbers between these two markers form one block, which the read may
// stop early (after a blank record) instead of asking for every entry.
inline constexpr char kReadBlockStart[] = "-O -B";
inline constexpr char kReadBlockEnd[] = "-O\t-E";

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

} // namespace params
