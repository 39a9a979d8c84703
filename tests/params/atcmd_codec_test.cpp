// The replies a read stores and the clock's text, against the reviewed
// transcript golden/atcmd_replies.txt (golden_file.h tells how to rewrite it).

#include "params/atcmd_codec.h"
#include "params/clock_text.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>

using namespace params;

namespace {

std::string Word(const std::string &text)
{
    return text == "''" ? "" : text;
}

std::vector<std::string> ReplyStep(const std::string &line)
{
    const size_t blank = line.find(' ');
    const std::string verb = line.substr(0, blank), rest = Word(line.substr(blank + 1));
    if (verb == "reply") {
        const size_t split = rest.find_first_of("=?"), end = rest.find(' ');
        const auto entry = AtReplyEntry(rest.substr(0, split), rest.substr(split, end - split),
                                        Word(rest.substr(end + 1)));
        return {entry ? entry->key + "=" + entry->value : "nothing"};
    }
    if (verb == "clock") {
        const std::vector<std::string> fields = Words(rest);
        const std::string text = BuildClockText(fields[0], fields[1], fields[2]);
        return {text.empty() ? "nothing" : text};
    }
    if (verb == "parse") {
        const ClockFields f = ParseClockText(rest);
        if (f.date.empty() && f.time.empty() && f.zone.empty())
            return {"nothing"};
        return {f.date + " " + f.time + " " + f.zone + " -> " +
                BuildClockText(f.date, f.time, f.zone)};
    }
    return {};
}

TEST(AtReplies, AsTheTranscriptSays)
{
    ExpectTranscript(
        KESTREL_PARAMS_GOLDEN_DIR "/atcmd_replies.txt",
        [](const std::string &line) {
            return line.starts_with("#") || line.starts_with("== ") ? std::vector<std::string>{}
                                                                    : ReplyStep(line);
        },
        NoResults);
}

} // namespace
