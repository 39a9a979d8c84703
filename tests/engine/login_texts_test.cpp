// What a port that would not open is reported with, in the three languages,
// and how the login exchange reads the terminal's answers.

#include "engine/login.h"
#include "params/language.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct LanguageGuard
{
    int saved = lang::Code();
    ~LanguageGuard() { lang::SetCode(saved); }
};

TEST(PortOpenAdvice, NamesTheCauseTheUserCanMend)
{
    const LanguageGuard guard;
    struct Case
    {
        int language;
        platform::PortErrorKind error;
        const char *advice; // "" for none
    };
    using enum platform::PortErrorKind;
    const Case cases[] = {
        {lang::kEnglish, InUse, "Error: The port ttyUSB0 is in use by another program!"},
        {lang::kPortuguese, InUse, "Erro: A porta ttyUSB0 está em uso por outro programa!"},
        {lang::kSpanish, InUse, "Error: El puerto ttyUSB0 está en uso por otro programa!"},
        {lang::kEnglish, PermissionDenied,
         "Permission denied: you may not use the serial port ttyUSB0, because your user is not "
         "in the group \"dialout\".\nTo join it, run\n    sudo usermod -aG dialout $USER\nthen "
         "log out and log in again."},
        {lang::kPortuguese, PermissionDenied,
         "Permissão negada: você não pode usar a porta serial ttyUSB0, porque o seu usuário não "
         "está no grupo \"dialout\".\nPara entrar nele, execute\n    sudo usermod -aG dialout "
         "$USER\ne depois saia da sessão e entre novamente."},
        {lang::kSpanish, PermissionDenied,
         "Permiso denegado: no puede usar el puerto serie ttyUSB0, porque su usuario no está en "
         "el grupo \"dialout\".\nPara unirse a él, ejecute\n    sudo usermod -aG dialout "
         "$USER\ny después cierre la sesión y vuelva a iniciarla."},
        {lang::kEnglish, NotFound, ""},
        {lang::kEnglish, Other, ""},
        {lang::kEnglish, None, ""},
        {0, PermissionDenied, ""}, // a language without texts says nothing
    };
    for (const Case &c : cases) {
        lang::SetCode(c.language);
        EXPECT_EQ(login::PortOpenAdvice("ttyUSB0", c.error), c.advice)
            << "language " << c.language << ", error " << int(c.error);
    }
}

TEST(PortOpenAdvice, FollowsTheCannotOpenMessage)
{
    const LanguageGuard guard;
    lang::SetCode(lang::kSpanish);
    EXPECT_EQ(login::CannotOpenPortText("ttyS1", platform::PortErrorKind::NotFound),
              "Error: No se puede abrir puerto :  ttyS1 !");
    EXPECT_EQ(login::CannotOpenPortText("ttyS1", platform::PortErrorKind::InUse),
              "Error: No se puede abrir puerto :  ttyS1 !\n\n"
              "Error: El puerto ttyS1 está en uso por otro programa!");
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
