// The read job fed arbitrary reply lines (through the line builder, as the
// window receives them) for lists picked from what the pages ask. Whatever
// the terminal says, the job sends only what its lists name, one command per
// reply, nothing after it ended, ends each run with exactly one outcome, and
// stores only under the keys it reads.

#include "engine/read_job.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/job_runs.h"
#include "params/ini_file.h"
#include "params/param_file.h"
#include "params/read_lists.h"
#include "platform/messages.h"
#include "platform/text_util.h"

#include <algorithm>
#include <array>
#include <fuzzer/FuzzedDataProvider.h>
#include <set>
#include <string>

using Event = FakeJobContext::Event;

namespace {

constexpr std::array<const char *, 11> kNumbers = {
    "2",     "05",    "3001",          "3021",        "16212", "16213",
    "16511", "16543", kReadBlockStart, kReadBlockEnd, "-O -B"};
struct Query
{
    const char *command;
    const char *argument;
};
constexpr std::array<Query, 7> kQueries = {{{"AT+CCWA", "=1,2"},
                                            {"AT+CCFC", "=0,2"},
                                            {"AT+CCFC", "=1,2"},
                                            {"AT+CCFC", "=2,2"},
                                            {"AT+CCFC", "=3,2"},
                                            {"AT+CCLK", "?"},
                                            {"AT+CPIN", "?"}}};
ReadLists PickLists(FuzzedDataProvider &input)
{
    ReadLists lists;
    const size_t numbers = input.ConsumeIntegralInRange<size_t>(0, 12);
    for (size_t i = 0; i < numbers; ++i) {
        if (input.ConsumeIntegralInRange(0, 15) == 0)
            lists.numbers.push_back(input.ConsumeRandomLengthString(600));
        else
            lists.numbers.emplace_back(input.PickValueInArray(kNumbers));
    }
    const size_t queries = input.ConsumeIntegralInRange<size_t>(0, 6);
    for (size_t i = 0; i < queries; ++i) {
        const Query query = input.PickValueInArray(kQueries);
        lists.AppendAtQuery(query.command, query.argument, "name");
    }
    return lists;
}

size_t CountKind(const FakeJobContext &context, Event::Kind kind)
{
    return static_cast<size_t>(std::count_if(context.events.begin(), context.events.end(),
                                             [&](const Event &e) { return e.kind == kind; }));
}

size_t CountOutcomes(const FakeJobContext &context)
{
    return static_cast<size_t>(
        std::count_if(context.events.begin(), context.events.end(), [](const Event &e) {
            const uint32_t id = e.message.id;
            return e.kind == Event::Posted && (id == platform::WM_READ_PARA_OK_NOTIFY ||
                                               id == platform::WM_READ_PARA_ERR_NOTIFY ||
                                               id == platform::WM_READ_PARA_STORE_ERR_NOTIFY);
        }));
}

std::set<std::string> AllowedCommands(const ReadLists &lists)
{
    std::set<std::string> allowed;
    for (const std::string &number : lists.numbers)
        allowed.insert("AT+RPAR=" + number);
    for (size_t i = 0; i < lists.atCommands.size(); ++i)
        allowed.insert(lists.atCommands[i] + lists.atArguments[i]);
    return allowed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const ReadLists lists = PickLists(input);
    const std::string replies = input.ConsumeRemainingBytesAsString();

    FakeJobContext context;
    ReadJob job(context, lists);
    const std::set<std::string> allowed = AllowedCommands(lists);
    JobRuns<ReadJob> runs(job, context, {},
                          [&] { FUZZ_CHECK(job.CurrentPhase() == ReadJob::Phase::Start); });
    runs.Feed(replies);

    // A run ends with one outcome; the watchdog's end has none of its own.
    const size_t completed = CountKind(context, Event::Completed);
    FUZZ_CHECK(CountOutcomes(context) <= completed);
    FUZZ_CHECK(completed <= static_cast<size_t>(runs.Runs()));
    for (const std::string &line : context.Sent())
        FUZZ_CHECK(allowed.count(line) == 1);

    std::vector<std::string> keys;
    const CIniFile file(context.TempParameterFilePath());
    file.GetKeys(params::kParaSection, keys);
    for (const std::string &key : keys) { // the file keeps keys without their blanks
        FUZZ_CHECK(
            std::any_of(lists.numbers.begin(), lists.numbers.end(), [&](const std::string &number) {
                return text::TrimBlanks(number) == key;
            }));
    }
    file.GetKeys(params::kAtcmdSection, keys);
    static const std::set<std::string> kAtKeys = {"AT+CCFC0", "AT+CCFC1", "AT+CCFC2",
                                                  "AT+CCFC3", "AT+CCWA",  "AT+CCLK"};
    for (const std::string &key : keys)
        FUZZ_CHECK(kAtKeys.count(key) == 1);
    return 0;
}
