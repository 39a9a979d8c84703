// The terminal's answers, line by line, without a pty.

#include "sim/terminal_core.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

struct Step
{
    const char *command;
    std::vector<std::string> lines;
    const char *final;
};

void RunScript(TerminalCore &core, const std::vector<Step> &script)
{
    for (const Step &step : script) {
        const Reply reply = core.Execute(step.command);
        EXPECT_EQ(reply.lines, step.lines) << step.command;
        EXPECT_EQ(reply.final, step.final) << step.command;
    }
}

// Command lines the terminal refuses, each on its own without changing anything.
void ExpectRefused(TerminalCore &core, std::initializer_list<const char *> commands)
{
    for (const char *command : commands) {
        const Reply reply = core.Execute(command);
        EXPECT_TRUE(reply.lines.empty() && reply.final == "ERROR") << command;
    }
}

} // namespace

TEST(TerminalCore, ReadsTakeLeadingZerosAndRefuseWhatIsNotReadable)
{
    TerminalCore core{SimOptions()};
    RunScript(core, {
                        {"AT+RPAR=05", {"+RPAR: 00"}, "OK"},
                        {"at+rpar=0035", {"+RPAR: 00"}, "OK"},
                        {"AT+RPAR=16546", {"+RPAR: 0"}, "OK"},
                        {"AT+RPAR=7001", {"+RPAR: 89550311000012345678"}, "OK"},
                        {"AT+RPAR=16550", {"+RPAR: 0"}, "OK"},
                        {"AT+RPAR=3005", {"+RPAR: "}, "OK"},
                        {"AT", {}, "OK"},
                    });
    // 16547 is written only.
    ExpectRefused(core, {"AT+RPAR=16547", "AT+RPAR=9999", "AT+RPAR=4", "AT+RPAR=", "AT+RPAR=5 ",
                         "AT+RPAR=-5", "ATI", "HELLO"});
}

TEST(TerminalCore, BlankListRecordIsConfigurable)
{
    SimOptions options;
    options.blankListRecord = "0*0*0*0";
    TerminalCore core{options};
    core.SetValue(16213, "5550123");
    RunScript(core, {{"AT+RPAR=16212", {"+RPAR: 0*0*0*0"}, "OK"},
                     {"AT+RPAR=16213", {"+RPAR: 5550123"}, "OK"},
                     {"AT+RPAR=34", {"+RPAR: "}, "OK"}}); // not a list entry
}

TEST(TerminalCore, WritesNeedATransactionAndShowOnlyAfterSaving)
{
    TerminalCore core{SimOptions()};
    RunScript(core, {
                        {"AT+WPAR=5,\"01\"", {}, "ERROR"}, // no transaction
                        {"AT+WPAR=9999", {}, "ERROR"},
                        {"AT+WPAR=9996,\"4321\"", {}, "ERROR"},
                        {"AT+WPAR=9996,\"1234\"", {}, "OK"},
                        {"AT+WPAR=5,\"01\"", {}, "OK"},
                        {"AT+WPAR=16212,\"5550100\"", {}, "OK"},
                        {"AT+RPAR=5", {"+RPAR: 00"}, "OK"},
                        {"AT+WPAR=9999", {}, "OK"},
                        {"AT+RPAR=5", {"+RPAR: 01"}, "OK"},
                        {"AT+WPAR=35,\"01\"", {}, "OK"},
                        {"AT+WPAR=9995", {}, "OK"}, // 35 was not saved
                        {"AT+RPAR=35", {"+RPAR: 00"}, "OK"},
                        {"AT+WPAR=5,\"00\"", {}, "ERROR"}, // transaction over
                    });
    EXPECT_EQ(core.Value(16212), "5550100");
}

TEST(TerminalCore, WritesRefuseBadValuesAndReadOnlyNumbers)
{
    TerminalCore core{SimOptions()};
    RunScript(core, {{"AT+WPAR=9996,\"1234\"", {}, "OK"}});
    // Read only, unknown, not digits, too long, two values, no closing quote.
    ExpectRefused(core, {"AT+WPAR=7001,\"1\"", "AT+WPAR=4,\"1\"", "AT+WPAR=16542,\"1x\"",
                         "AT+WPAR=3001,\"123456789012345678901\"", "AT+WPAR=5,\"01\",\"00\"",
                         "AT+WPAR=5,\"01", "AT+WPAR=16547,\"ALL\""});
    RunScript(core, {{"AT+WPAR=32,\"583916\"", {}, "OK"},
                     {"AT+WPAR=3001,\"\"", {}, "OK"},
                     {"AT+WPAR=16547,\"CLEAR\"", {}, "OK"}});
}

TEST(TerminalCore, ClearEmptiesTheCallBackListInWriteOrder)
{
    TerminalCore core{SimOptions()};
    core.SetValue(16212, "111");
    core.SetValue(16300, "222");
    RunScript(core, {{"AT+WPAR=9996,\"1234\"", {}, "OK"},
                     {"AT+WPAR=16213,\"333\"", {}, "OK"}, // before the clear: dropped
                     {"AT+WPAR=16547,\"CLEAR\"", {}, "OK"},
                     {"AT+WPAR=16216,\"444\"", {}, "OK"},
                     {"AT+RPAR=16212", {"+RPAR: 111"}, "OK"},
                     {"AT+WPAR=9999", {}, "OK"}});
    EXPECT_EQ(core.Value(16212), "");
    EXPECT_EQ(core.Value(16213), "");
    EXPECT_EQ(core.Value(16300), "");
    EXPECT_EQ(core.Value(16216), "444");
}

TEST(TerminalCore, SoftwarePasswordChange)
{
    TerminalCore core{SimOptions()};
    RunScript(core, {
                        {"AT+WPAR=1,\"1234\",\"5678\",\"5678\"", {}, "ERROR"}, // no transaction
                        {"AT+WPAR=9996,\"1234\"", {}, "OK"},
                        {"AT+WPAR=1,\"9999\",\"5678\",\"5678\"", {}, "ERROR"}, // old wrong
                        {"AT+WPAR=1,\"1234\",\"5678\",\"5679\"", {}, "ERROR"}, // differ
                        {"AT+WPAR=1,\"1234\",\"567\",\"567\"", {}, "ERROR"},   // too short
                        {"AT+WPAR=1,\"1234\",\"1234567890123\",\"1234567890123\"", {}, "ERROR"},
                        {"AT+WPAR=1,\"1234\",\"5678\",\"5678\"", {}, "OK"},
                        {"AT+WPAR=9995", {}, "OK"},
                        {"AT+WPAR=9996,\"1234\"", {}, "ERROR"},
                        {"AT+WPAR=9996,\"5678\"", {}, "OK"},
                    });
    EXPECT_EQ(core.State().password, "5678");
}

TEST(TerminalCore, PinActionsCheckTheSimPin)
{
    TerminalCore core{SimOptions()};
    RunScript(core, {
                        {"AT+WPAR=9996,\"1234\"", {}, "OK"},
                        {"AT+WPAR=16550,\"1111\"", {}, "ERROR"}, // wrong PIN
                        {"AT+WPAR=16549,\"4711\"", {}, "OK"},    // lock on
                        {"AT+RPAR=16550", {"+RPAR: 1"}, "OK"},
                        {"AT+WPAR=16552,\"4711\"", {}, "OK"},
                        {"AT+WPAR=16553,\"4711\"", {}, "OK"},
                        {"AT+WPAR=16548,\"4711\",\"12a4\"", {}, "ERROR"},
                        {"AT+WPAR=16548,\"1111\",\"2468\"", {}, "ERROR"},
                        {"AT+WPAR=16548,\"4711\",\"2468\"", {}, "OK"},
                        {"AT+WPAR=16552,\"4711\"", {}, "OK"}, // the fixed code, whatever the PIN
                        {"AT+WPAR=16553,\"2468\"", {}, "ERROR"},
                        {"AT+WPAR=16551,\"2468\"", {}, "OK"}, // lock off
                        {"AT+RPAR=16550", {"+RPAR: 0"}, "OK"},
                        {"AT+WPAR=16550,\"2468\"", {}, "OK"}, // start-up check on
                        {"AT+RPAR=16550", {"+RPAR: 1"}, "OK"},
                    });
    EXPECT_EQ(core.State().simPin, "2468");
}

TEST(TerminalCore, CallWaitingQueryAndSet)
{
    TerminalCore core{SimOptions()};
    RunScript(core, {
                        {"AT+CCWA=1,2", {"+CCWA: 0,7"}, "OK"},
                        {"AT+CCWA=1,1", {}, "OK"},
                        {"AT+CCWA=1,2", {"+CCWA: 1,1"}, "OK"},
                        {"AT+CCWA=1,2,2", {"+CCWA: 0,7"}, "OK"}, // asked for data only
                        {"AT+CCWA=0,0,7", {}, "OK"},
                        {"AT+CCWA?", {"+CCWA: 0"}, "OK"},
                        {"AT+CCWA=1,2", {"+CCWA: 0,7"}, "OK"},
                        {"AT+CCWA=1,1,1", {}, "OK"},
                        {"AT+CCWA=1,2", {"+CCWA: 1,1"}, "OK"},
                        {"AT+CCWA=1,1,4", {}, "ERROR"}, // fax only: not offered
                        {"AT+CCWA=1,5", {}, "ERROR"},
                        {"AT+CCWA=1,1,0", {}, "ERROR"},
                    });
}

TEST(TerminalCore, CallForwardingRegisterQueryErase)
{
    TerminalCore core{SimOptions()};
    RunScript(
        core,
        {
            {"AT+CCFC=0,2", {"+CCFC: 0,7"}, "OK"},
            {"AT+CCFC=0,3,\"+5550100\",145", {}, "OK"},
            {"AT+CCFC=0,2", {"+CCFC: 1,1,\"+5550100\",145", "+CCFC: 0,2", "+CCFC: 0,4"}, "OK"},
            {"AT+CCFC=2,3,\"5550100\",129,7,,,25", {}, "OK"},
            {"AT+CCFC=2,2", {"+CCFC: 1,1,\"5550100\",129,,,25", "+CCFC: 0,2", "+CCFC: 0,4"}, "OK"},
            {"AT+CCFC=1,3,\"5550100\"", {}, "OK"}, // type from the number
            {"AT+CCFC=1,2", {"+CCFC: 1,1,\"5550100\",129", "+CCFC: 0,2", "+CCFC: 0,4"}, "OK"},
            {"AT+CCFC=0,4", {}, "OK"},
            {"AT+CCFC=0,2", {"+CCFC: 0,7"}, "OK"},
            {"AT+CCFC=4,4", {}, "OK"},
            {"AT+CCFC=2,2", {"+CCFC: 0,7"}, "OK"},
            {"AT+CCFC=3,3,\"55a\",129", {}, "ERROR"},
            {"AT+CCFC=3,3,\"5550100\",129,2", {}, "ERROR"}, // data only: not offered
            {"AT+CCFC=6,2", {}, "ERROR"},
            {"AT+CCFC=0", {}, "ERROR"},
            {"AT+CCFC=1,1", {}, "ERROR"}, // nothing registered to enable
        });
}

TEST(TerminalCore, CallForwardingReplyVariants)
{
    using S = ForwardReplyStyle::Subaddress;
    struct Case
    {
        ForwardReplyStyle style;
        std::vector<std::string> active;
        std::vector<std::string> none;
    };
    const std::vector<Case> cases = {
        {{{2, 4, 16, 32}, 255, S::QuotedEmpty, false, false},
         {"+CCFC: 1,1,\"5550100\",129,\"\",,20", "+CCFC: 0,2", "+CCFC: 0,4", "+CCFC: 0,16",
          "+CCFC: 0,32"},
         {"+CCFC: 0,255"}},
        {{{2}, 7, S::QuotedWithType, false, true},
         {"+CCFC: 0,2", "+CCFC: 1,1,\"5550100\",129,\"\",128,20"},
         {"+CCFC: 0,7"}},
        {{{}, 7, S::Omitted, true, false},
         {"+CCFC: 1, 1, \"5550100\", 129, , , 20"},
         {"+CCFC: 0, 7"}},
    };
    for (const Case &c : cases) {
        SimOptions options;
        options.forwardStyle = c.style;
        TerminalCore core{options};
        RunScript(core, {{"AT+CCFC=2,2", c.none, "OK"},
                         {"AT+CCFC=2,3,\"5550100\",129,7,,,20", {}, "OK"},
                         {"AT+CCFC=2,2", c.active, "OK"}});
    }
}

TEST(TerminalCore, ClockKeepsItsOffsetFromTheHost)
{
    SimOptions options;
    auto host =
        std::make_shared<HostTime>(std::chrono::seconds(1796536800)); // 2026-12-06 06:00 UTC
    options.clock = [host] { return *host; };
    TerminalCore core{options};
    RunScript(core, {
                        {"AT+CCLK=\"11/04/25,09:30:00-12\"", {}, "OK"},
                        {"AT+CCLK?", {"+CCLK: \"11/04/25,09:30:00-12\""}, "OK"},
                        {"AT+CCLK=\"24/02/30,09:30:00+00\"", {}, "ERROR"}, // no such day
                        {"AT+CCLK=\"24/02/29,24:00:00+00\"", {}, "ERROR"},
                        {"AT+CCLK=\"24/02/29,23:00:00+49\"", {}, "ERROR"},
                        {"AT+CCLK=\"24/02/29 23:00:00\"", {}, "ERROR"},
                    });
    *host += std::chrono::seconds(3600 * 24 + 61);
    RunScript(core, {{"AT+CCLK?", {"+CCLK: \"11/04/26,09:31:01-12\""}, "OK"},
                     {"AT+CCLK=\"24/02/29,23:59:59\"", {}, "OK"},
                     {"AT+CCLK?", {"+CCLK: \"24/02/29,23:59:59+00\""}, "OK"}});
}

TEST(TerminalCore, EchoSwitchAndCaseOfNames)
{
    TerminalCore core{SimOptions()};
    EXPECT_TRUE(core.Echo());
    RunScript(core,
              {{"ate0", {}, "OK"}, {"at+wpar=9996,\"1234\"", {}, "OK"}, {"ATE2", {}, "ERROR"}});
    EXPECT_FALSE(core.Echo());
    RunScript(core, {{"ATE1", {}, "OK"}});
    EXPECT_TRUE(core.Echo());
}

TEST(TerminalCore, RefusalsAndCmeErrors)
{
    SimOptions options;
    options.faults.refuseReads = {35};
    options.faults.refuseWrites = {5, 9999};
    options.faults.refuseCommands = {"at&w"};
    TerminalCore core{options};
    RunScript(core, {{"AT+RPAR=35", {}, "ERROR"},
                     {"AT+RPAR=5", {"+RPAR: 00"}, "OK"},
                     {"AT+WPAR=9996,\"1234\"", {}, "OK"},
                     {"AT+WPAR=5,\"01\"", {}, "ERROR"},
                     {"AT+WPAR=35,\"01\"", {}, "OK"},
                     {"AT+WPAR=9999", {}, "ERROR"},
                     {"AT&W", {}, "ERROR"}});

    Faults cme;
    cme.cmeError = 100;
    core.SetFaults(cme);
    RunScript(core, {{"AT+RPAR=4", {}, "+CME ERROR: 100"},
                     {"AT+WPAR=9996,\"0000\"", {}, "+CME ERROR: 16"},
                     {"AT+WPAR=9996,\"1234\"", {}, "OK"},
                     {"AT+WPAR=16549,\"0000\"", {}, "+CME ERROR: 16"}});
}
