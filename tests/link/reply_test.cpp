#include "link/command_exchange.h"
#include "link/reply.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

TEST(ReplyClass, FinalAndErrorResults)
{
    // clang-format off
    const std::string ok[] = {"OK", "ok", "oK"};
    const std::string errors[] = {"ERROR", "error", "+CME ERROR:", "+CME ERROR: 16",
                                  "+cme error: incorrect password"};
    const std::string neither[] = {"OK ", " OK", "OKAY", "O", "ERROR ", "ERRORS", "+CME ERROR",
                                   " +CME ERROR: 3", "+CMS ERROR: 500", "AT+WPAR=9996,\"1234\"",
                                   "+RPAR: 20,\"OK\"", "> ", "", std::string("OK\0", 3)};
    // clang-format on
    for (const std::string &line : ok)
        EXPECT_TRUE(IsFinalReply(line) && !IsErrorReply(line)) << '"' << line << '"';
    for (const std::string &line : errors)
        EXPECT_TRUE(IsFinalReply(line) && IsErrorReply(line)) << '"' << line << '"';
    for (const std::string &line : neither)
        EXPECT_FALSE(IsFinalReply(line) || IsErrorReply(line)) << '"' << line << '"';
}

// The verdicts on the lines that follow one command, by a letter each: E echo,
// I information, F final, S stray, U unrelated.
TEST(CommandExchange, AFinalReplyCountsOnlyForTheCommandInFlight)
{
    using V = CommandExchange::Verdict;
    const std::map<char, V> verdicts = {{'E', V::Echo},
                                        {'I', V::Information},
                                        {'F', V::Final},
                                        {'S', V::Stray},
                                        {'U', V::Unrelated}};
    struct Case
    {
        const char *name;
        EchoMode before;
        std::vector<std::string> lines;
        const char *expected;
        EchoMode after;
    };
    const std::string command = "AT+RPAR=35";
    // clang-format off
    const Case cases[] = {
        {"EchoDataFinal", EchoMode::Unknown, {command, "+RPAR: 7", "OK"}, "EIF", EchoMode::Echoes},
        {"AnOkBeforeTheEchoIsStray", EchoMode::Echoes, {"OK", command, "ERROR"}, "SEF", EchoMode::Echoes},
        {"ASecondOkIsStray", EchoMode::Echoes, {command, "OK", "OK", "+RPAR: 7"}, "EFSU", EchoMode::Echoes},
        {"UnsolicitedLinesAreNotTheCommands", EchoMode::Echoes,
         {"RING", "+RPAR: 1", command, "RING", "+CMTI: \"SM\",3", "+cme error: 3"}, "UUEUUF", EchoMode::Echoes},
        {"NoiseInFrontOfTheEcho", EchoMode::Echoes, {"\x7f~at+rpar=35", "OK"}, "EF", EchoMode::Echoes},
        {"ASilentTerminalIsAnsweredAtOnce", EchoMode::Silent, {"+RPAR: 7", "OK", "OK"}, "IFS", EchoMode::Silent},
        {"AFinalWithoutEchoTeachesSilence", EchoMode::Unknown, {"OK"}, "F", EchoMode::Silent},
        {"AnEchoTeachesEchoing", EchoMode::Silent, {command, "OK"}, "EF", EchoMode::Echoes},
    };
    // clang-format on
    for (const Case &c : cases) {
        std::atomic<EchoMode> echo{c.before};
        CommandExchange exchange(echo);
        EXPECT_EQ(exchange.Take("OK"), V::Stray) << c.name << ": nothing in flight yet";
        exchange.Sent(command);
        std::string got;
        for (const std::string &line : c.lines) {
            const V verdict = exchange.Take(line);
            for (const auto &[letter, v] : verdicts)
                if (v == verdict)
                    got += letter;
        }
        EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_EQ(echo.load(), c.after) << c.name;
    }
}
