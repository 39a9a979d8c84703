// What a port that would not open is reported with, in the three languages,
// and how the login exchange reads the terminal's answers.

#include "engine/login.h"
#include "params/language.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
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

// The outcome after the last line; kTimeOut stands for the bare CR's time
// running out, or the caller's turn after the bare CR's answer.
TEST(LoginExchange, AnErrorIsAWrongPasswordOnlyAfterTheLoginLinesEcho)
{
    using O = login::Exchange::Outcome;
    const std::string echo = "AT+WPAR=9996,\"1234\"";
    const std::string kTimeOut = "(time out)";
    struct Case
    {
        const char *name;
        std::vector<std::string> lines;
        O last;
    };
    // clang-format off
    const Case cases[] = {
        {"TheBareCrGetsNoAnswer", {kTimeOut}, O::SendLogin},
        {"NoiseAnsweredByAnError", {"~x", "ERROR"}, O::SendLogin},
        {"TheAnswerToTheBareCrIsNotTheLogins", {"OK", "ERROR", "OK"}, O::Waiting},
        {"TheLoginLineGoesOutOnce", {"OK", kTimeOut, kTimeOut}, O::Waiting},
        {"NothingIsDecidedBeforeTheBareCrIsAnswered", {"+CPIN: READY", "RING"}, O::Waiting},
        {"Accepted", {"ERROR", kTimeOut, echo, "OK"}, O::Accepted},
        {"AcceptedWithoutEcho", {kTimeOut, "ok"}, O::Accepted},
        {"Refused", {kTimeOut, echo, "ERROR"}, O::Refused},
        {"RefusedWithCme", {kTimeOut, "+CMTI: \"SM\",3", echo, "+CME ERROR: 16"}, O::Refused},
        {"NoiseBeforeTheEcho", {kTimeOut, "\x7f" + echo, "ERROR"}, O::Refused},
        {"AnErrorWithoutTheEcho", {kTimeOut, "ERROR"}, O::NotUnderstood},
        {"AnErrorToAGarbledLine", {kTimeOut, "AT+WPAR=99~6,\"1234\"", "ERROR"}, O::NotUnderstood},
        {"OnlyTheFirstAnswerCounts", {kTimeOut, echo, "OK", "ERROR"}, O::Waiting},
        {"AnEmptyLineIsNoData", {kTimeOut, ""}, O::NoData},
    };
    // clang-format on
    for (const Case &c : cases) {
        login::Exchange exchange("1234");
        O outcome = O::Waiting;
        for (const std::string &line : c.lines)
            outcome = line == kTimeOut ? exchange.OnClearTimeout() : exchange.OnLine(line);
        EXPECT_EQ(outcome, c.last) << c.name;
        EXPECT_EQ(exchange.Line(), std::string("AT+WPAR=9996,\"1234\"\r\0", 21)) << c.name;
    }
}

} // namespace
