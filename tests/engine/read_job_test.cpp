#include "engine/read_job.h"
#include "job_driver.h"
#include "params/ini_file.h"
#include "params/read_lists.h"
#include "platform/messages.h"
#include "tests/common/golden_file.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>

using namespace platform;
using Strings = std::vector<std::string>;

namespace {

// A read of the lists against a terminal, as the reviewed transcript in
// golden/read_jobs.txt says. A scenario ("== name") gives the lists
// ("numbers", with [ and ] around a block; "query COMMAND ARGUMENT NAME") and
// the terminal's answers ("value NUMBER TEXT" for AT+RPAR, "reply COMMAND
// LINE|LINE" for a query, else only OK; "answer LINE|LINE" for every
// command), a folder in place of the temporary file ("unwritable"), the
// cable pulled after N answered commands ("cut after N") or a line lost in
// the answer of a number or query ("lose NUMBER|COMMAND"). It is
// followed by every event of the job and the file it stored, as "> " lines
// (golden_file.h tells how to rewrite them).
TEST(ReadJobs, AsTheTranscriptSays)
{
    struct Scenario
    {
        ReadLists lists;
        std::map<std::string, std::string> values;
        std::map<std::string, Strings> replies;
        std::optional<Strings> answer;
        bool unwritable = false;
        std::optional<size_t> cutAfter; // the cable pulled after this many answered lines
        std::set<std::string> lost;     // numbers and queries whose answer loses a line
    };
    std::optional<Scenario> pending;
    const auto lines = [](const std::string &text) {
        Strings split;
        for (size_t start = 0, bar;; start = bar + 1) {
            bar = text.find('|', start);
            split.push_back(text.substr(start, bar - start));
            if (bar == std::string::npos)
                return split;
        }
    };
    const auto run = [&] {
        Strings results;
        if (!pending)
            return results;
        FakeJobContext context;
        ReadJob job{context, pending->lists};
        if (pending->unwritable)
            std::filesystem::create_directory(context.TempParameterFilePath());
        Drive(
            job, context,
            [&](const std::string &command) -> Strings {
                if (pending->answer)
                    return *pending->answer;
                if (pending->lost.contains(command.substr(command.starts_with("AT+RPAR=") ? 8 : 0)))
                    return Strings{kLostLine, "OK"};
                if (command.starts_with("AT+RPAR=")) {
                    const auto value = pending->values.find(command.substr(8));
                    return value == pending->values.end()
                               ? Strings{"ERROR"}
                               : Strings{"+RPAR: " + value->second, "OK"};
                }
                Strings reply = pending->replies[command];
                reply.push_back("OK");
                return reply;
            },
            pending->cutAfter.value_or(2000));
        if (pending->cutAfter)
            job.OnCut(JobCut::PortLost);
        const std::string temp = context.TempParameterFilePath();
        for (std::string event : context.Transcript()) {
            for (size_t at; (at = event.find(temp)) != std::string::npos;)
                event.replace(at, temp.size(), "{temp}");
            results.push_back(event);
        }
        std::istringstream stored(std::filesystem::is_regular_file(temp) ? ReadBytes(temp) : "");
        for (std::string line; std::getline(stored, line);)
            results.push_back("stored " + OneLine(line));
        pending.reset();
        return results;
    };
    const auto take = [&](const std::string &line) {
        const size_t blank = line.find(' ');
        const std::string verb = line.substr(0, blank), rest = line.substr(blank + 1);
        if (verb == "==") {
            pending.emplace();
        } else if (verb == "numbers") {
            std::istringstream in(rest);
            for (std::string number; in >> number;)
                pending->lists.numbers.push_back(number == "["   ? kReadBlockStart
                                                 : number == "]" ? kReadBlockEnd
                                                                 : number);
        } else if (verb == "query") {
            std::istringstream in(rest);
            std::string command, argument, name;
            in >> command >> argument >> std::ws;
            std::getline(in, name);
            pending->lists.AppendAtQuery(command, argument, name);
        } else if (verb == "value") {
            const size_t space = rest.find(' ');
            pending->values[rest.substr(0, space)] =
                space == std::string::npos ? "" : rest.substr(space + 1);
        } else if (verb == "reply") {
            const size_t space = rest.find(' ');
            pending->replies[rest.substr(0, space)] = lines(rest.substr(space + 1));
        } else if (verb == "answer") {
            pending->answer = lines(rest);
        } else if (verb == "unwritable") {
            pending->unwritable = true;
        } else if (line.starts_with("cut after ")) {
            pending->cutAfter = std::stoul(line.substr(10));
        } else if (verb == "lose") {
            pending->lost.insert(rest);
        } else if (verb == "verdict") { // a value's verdict, not a read
            const Strings words = Words(rest);
            std::string stored;
            const int verdict = ReadJob::Verdict(words.at(0), words.at(1), stored);
            pending.reset();
            return Strings{"verdict " + std::to_string(verdict) + ", stored " + stored};
        }
        return Strings{};
    };
    ExpectTranscript(KESTREL_ENGINE_GOLDEN_DIR "/read_jobs.txt", take, run);
}

} // namespace
