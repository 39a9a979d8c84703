#include "params/read_lists.h"

#include "params/ini_document.h"
#include "params/param_file.h"
#include "params/text_value.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace params {
namespace {

// One entry of a page's number contribution: a number text as it stands
// (the Forbids page asks for "05" and "35"), a block marker, or a list.
struct ReadItem
{
    enum Kind { Number, Begin, End, List } kind;
    const char *number = nullptr;
    const ListInfo *list = nullptr;
};

// clang-format off
constexpr ReadItem N(const char *number) { return {ReadItem::Number, number}; }
constexpr ReadItem L(const ListInfo &list) { return {ReadItem::List, nullptr, &list}; }
constexpr ReadItem kBegin{ReadItem::Begin};
constexpr ReadItem kEnd{ReadItem::End};

const ReadItem kForbidsItems[] = {N("05"), N("35"), N("3000"), kBegin, L(kForbiddenList), kEnd,
                                  N("5000")};
const ReadItem kPrefixItems[] = {N("34"), N("1000"), N("1001")};
const ReadItem kCspItems[] = {N("16541"), N("16542")};
const ReadItem kRestrictedIdItems[] = {N("16546")};
const ReadItem kSecurityCodeItems[] = {N("6000"), N("6002"), N("16207"), N("16550")};
const ReadItem kPolarityItems[] = {N("16001")};
const ReadItem kTimesItems[] = {N("2"), N("16208"), N("16209"), N("16210"), N("16515"),
                                N("16516")};
const ReadItem kVolumeItems[] = {N("16543"), N("16544")};
const ReadItem kCallBackItems[] = {N("16512"), N("16513"), N("16517"), N("16539"), N("16540"),
                                   N("16545"), kBegin, L(kCallBackList), kEnd};

const std::array<std::span<const ReadItem>, kPageCount> kPageNumbers = {{
    {},                 // Passwords: the general password is never read
    kForbidsItems,
    kPrefixItems,
    kCspItems,
    {},                 // Call waiting and forward: AT queries only
    kRestrictedIdItems,
    kSecurityCodeItems,
    kPolarityItems,
    kTimesItems,
    kVolumeItems,
    kCallBackItems,
}};
// clang-format on

void AppendForwardQueries(ReadLists &lists, const ForwardQuerySwitches &forward)
{
    if (!forward.master)
        return;
    if (forward.callWaitingIncluded)
        lists.AppendAtQuery(AtSettingOf(AtKey::CallWaiting), lang::kEnglish);
    if (forward.forwardingIncluded) {
        for (int reason = 0; reason <= 3; ++reason)
            lists.AppendAtQuery(ForwardSettingOf(reason), lang::Code());
    }
}

} // namespace

void AppendPageReadItems(Page page, ReadLists &lists, const ForwardQuerySwitches &forward)
{
    for (const ReadItem &item : kPageNumbers.at(size_t(page))) {
        switch (item.kind) {
        case ReadItem::Number:
            lists.AppendNumber(item.number);
            break;
        case ReadItem::Begin:
            lists.BeginBlock();
            break;
        case ReadItem::End:
            lists.EndBlock();
            break;
        case ReadItem::List:
            lists.AppendNumbers(item.list->firstNumber, item.list->count);
            break;
        }
    }
    if (page == Page::Forward)
        AppendForwardQueries(lists, forward);
    else if (page == Page::Times)
        lists.AppendAtQuery(AtSettingOf(AtKey::Clock), lang::Code());
}

void AppendInitialReadItems(ReadLists &lists)
{
    // The forward page starts with its master switch off.
    for (size_t page = 0; page < kPageCount; ++page)
        AppendPageReadItems(Page(page), lists);
}

ReadReach ReachOfRead(const ReadLists &lists, const IniDocument &readFile, size_t atQueriesSent)
{
    const std::vector<std::string> &numbers = lists.numbers;
    ReadReach reach;
    if (atQueriesSent > 0) {
        reach.numbers = numbers.size();
        reach.atQueries = std::min(atQueriesSent - 1, lists.AtQueryCount());
        return reach;
    }
    // A number the terminal answered is stored under its entry's text; one
    // it answered without a value is not, but the read went on past it.
    std::vector<std::string> keys;
    readFile.GetKeys(kParaSection, keys);
    const std::unordered_set<std::string> stored(keys.begin(), keys.end());
    bool inBlock = false;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (IsReadMarker(numbers[i])) {
            inBlock = numbers[i] == kReadBlockStart;
            continue;
        }
        if (!stored.contains(numbers[i]))
            continue;
        reach.numbers = i + 1;
        // The read passes over the rest of a block after its blank record.
        if (inBlock && IsBlankRecord(readFile.GetString(kParaSection, numbers[i], {}))) {
            const auto next = numbers.begin() + std::ptrdiff_t(i);
            reach.numbers = size_t(std::find(next, numbers.end(), kReadBlockEnd) - numbers.begin());
        }
    }
    while (reach.numbers < numbers.size() && IsReadMarker(numbers[reach.numbers]))
        ++reach.numbers;
    return reach;
}

std::vector<int> PagesNotReached(std::span<const ReadShare> shares, const ReadReach &reach)
{
    std::vector<int> pages;
    ReadShare before{0, 0, 0};
    for (const ReadShare &share : shares) {
        if (share.numbersEnd > std::max(before.numbersEnd, reach.numbers) ||
            share.atQueriesEnd > std::max(before.atQueriesEnd, reach.atQueries))
            pages.push_back(share.page);
        before = share;
    }
    return pages;
}

} // namespace params

void ReadLists::AppendNumbers(unsigned first, unsigned count)
{
    for (unsigned number = first; number < first + count; ++number)
        numbers.push_back(std::to_string(number));
}

void ReadLists::AppendAtQuery(std::string_view command, std::string_view argument,
                              std::string_view name)
{
    atCommands.emplace_back(command);
    atArguments.emplace_back(argument);
    atNames.emplace_back(name);
}

void ReadLists::AppendAtQuery(const params::AtSetting &setting, int languageCode)
{
    AppendAtQuery(setting.command, setting.queryArgument ? setting.queryArgument : "",
                  setting.label.TextIn(languageCode));
}

void ReadLists::Clear()
{
    numbers.clear();
    atCommands.clear();
    atArguments.clear();
    atNames.clear();
}
