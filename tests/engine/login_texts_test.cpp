// What a port that would not open is reported with, in the three languages,
// and how the login exchange reads the terminal's answers.

#include "engine/login.h"
#include "params/language.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

struct LanguageGuard
{
    int saved = lang::Code();
    ~LanguageGuard() { lang::SetCode(saved); }
};

// The text for each kind of failure in each language, against the reviewed
// dump in golden/port_open_texts.txt: the advice follows the cannot-open
// message where the user can mend the cause.
TEST(PortOpenAdvice, AsTheDumpSays)
{
    const LanguageGuard guard;
    static const char *const kKinds[] = {"none", "in use", "permission denied", "not found",
                                         "other"};
    std::vector<std::string> lines;
    for (int language : {lang::kEnglish, lang::kPortuguese, lang::kSpanish}) {
        lang::SetCode(language);
        for (int kind = 0; kind < 5; ++kind) {
            const std::string text =
                login::CannotOpenPortText("ttyUSB0", platform::PortErrorKind(kind));
            lines.push_back(std::to_string(language) + '\t' + kKinds[kind] + '\t' + OneLine(text));
        }
    }
    ExpectGolden(KESTREL_ENGINE_GOLDEN_DIR "/port_open_texts.txt", lines);
    lang::SetCode(0); // a language without texts says nothing
    EXPECT_EQ(login::PortOpenAdvice("ttyUSB0", platform::PortErrorKind::PermissionDenied), "");
}

// Against the reviewed transcript golden/login_exchanges.txt.
TEST(LoginExchange, AsTheTranscriptSays)
{
    static const char *const kOutcomes[] = {"waiting", "send login",     "accepted",
                                            "refused", "not understood", "no data"};
    std::optional<login::Exchange> exchange;
    const auto take = [&](const std::string &line) -> std::vector<std::string> {
        if (line.starts_with("== "))
            exchange.emplace("1234");
        if (line == "time out")
            return {kOutcomes[int(exchange->OnClearTimeout())]};
        if (line.starts_with("line "))
            return {kOutcomes[int(
                exchange->OnLine(line == "line ''" ? "" : Unescape(line.substr(5))))]};
        return {};
    };
    ExpectTranscript(KESTREL_ENGINE_GOLDEN_DIR "/login_exchanges.txt", take, NoResults);
    EXPECT_EQ(exchange->Line(), std::string("AT+WPAR=9996,\"1234\"\r\0", 21));
}

} // namespace
