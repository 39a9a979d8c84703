#include "cli/cli_options.h"
#include "cli/password_sources.h"
#include "params/language.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <map>

using Args = std::vector<std::string>;

TEST(CliOptions, AcceptsTheThreeCommands)
{
    ParseResult read = ParseCommandLine({"read", "--port", "SIM0", "--password", "1234",
                                         "--forward", "--language", "pt", "--out", "o.ini"});
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.options.command, CliOptions::Command::Read);
    EXPECT_TRUE(read.options.forward);
    EXPECT_EQ(read.options.language, 2);
    EXPECT_EQ(read.options.baud, "115200");

    ParseResult write = ParseCommandLine({"write", "--port", "/dev/ttyUSB0", "--password", "1234",
                                          "--baud", "9600", "--dir", "/tmp/k", "--quiet", "c.ini"});
    ASSERT_TRUE(write.ok) << write.error;
    EXPECT_EQ(write.options.file, "c.ini");
    EXPECT_EQ(write.options.baud, "9600");
    EXPECT_TRUE(write.options.quiet);

    ParseResult passwd =
        ParseCommandLine({"passwd", "--port", "SIM0", "--password", "1234", "--new", "5678"});
    ASSERT_TRUE(passwd.ok) << passwd.error;
    EXPECT_EQ(passwd.options.newPassword, "5678");

    ParseResult verify = ParseCommandLine(
        {"verify", "--port", "SIM0", "--password", "1234", "--forward", "--gap", "0", "c.ini"});
    ASSERT_TRUE(verify.ok) << verify.error;
    EXPECT_EQ(verify.options.command, CliOptions::Command::Verify);
    EXPECT_EQ(verify.options.file, "c.ini");
    EXPECT_TRUE(verify.options.forward);
    EXPECT_EQ(verify.options.gap, 0);
    EXPECT_EQ(read.options.gap, 20) << "the gap terminals have always had";

    // An empty password is the login's business (exit 1), not wrong usage.
    EXPECT_TRUE(ParseCommandLine({"read", "--port", "SIM0", "--password", "", "--out", "o"}).ok);
}

// The passwords that are not on the command line: from a file, the
// environment or the prompt, in that order.
TEST(CliOptions, PasswordsComeFromAFileTheEnvironmentOrThePrompt)
{
    TempFolder folder;
    WriteBytes(folder.File("pw"), "file-pw\r\nsecond line\n");
    WriteBytes(folder.File("new"), "file-new\n");
    struct Case
    {
        Args args;
        std::map<std::string, std::string> env;
        bool terminal;
        std::vector<std::string> typed;
        PasswordsResult result;
        std::string password, newPassword;
        std::vector<std::string> prompts;
    };
    const std::string pwFile = folder.File("pw"), newFile = folder.File("new");
    const std::map<std::string, std::string> envPw = {{"KESTREL_PASSWORD", "env-pw"}},
                                             envNew = {{"KESTREL_NEW_PASSWORD", "env-new"}},
                                             envBoth = {{"KESTREL_PASSWORD", "env-pw"},
                                                        {"KESTREL_NEW_PASSWORD", "env-new"}};
    const PasswordsResult noPassword = {2, "no password: give --password-file FILE or "
                                           "KESTREL_PASSWORD, or run on a terminal to type it"};
    const PasswordsResult noNewPassword = {2, "no new password: give --new-file FILE or "
                                              "KESTREL_NEW_PASSWORD, or run on a terminal to "
                                              "type it"};
    const PasswordsResult differ = {1, "Error: The two new passwords typed differ!"};
    const PasswordsResult noFile = {1, "Cannot open \"" + folder.File("none") +
                                           "\": No such file or directory"};
    // clang-format off
    const Case cases[] = {
        {{"read", "--password", "cli-pw"}, envPw, true, {}, {}, "cli-pw", "", {}},
        {{"read", "--password", ""}, envPw, true, {}, {}, "", "", {}},
        {{"read", "--password-file", pwFile}, envPw, true, {}, {}, "file-pw", "", {}},
        {{"read"}, envPw, true, {}, {}, "env-pw", "", {}},
        {{"read"}, {{"KESTREL_PASSWORD", ""}}, true, {"typed"}, {}, "typed", "", {"Software password: "}},
        {{"read"}, {}, false, {}, noPassword, "", "", {}},
        {{"read", "--password-file", folder.File("none")}, {}, true, {}, noFile, "", "", {}},
        {{"passwd", "--password", "1234", "--new", "cli-new"}, envNew, true, {}, {}, "1234", "cli-new", {}},
        {{"passwd", "--password", "1234", "--new-file", newFile}, envNew, true, {}, {}, "1234", "file-new", {}},
        {{"passwd"}, envBoth, false, {}, {}, "env-pw", "env-new", {}},
        {{"passwd", "--language", "pt"}, {}, true, {"old", "new1", "new1"}, {}, "old", "new1",
         {"Senha do software: ", "Nova senha: ", "Repita a nova senha: "}},
        {{"passwd", "--password", "1234"}, {}, true, {"new1", "new2"}, differ, "1234", "new1",
         {"New password: ", "New password again: "}},
        {{"passwd", "--password", "1234"}, {}, false, {}, noNewPassword, "1234", "", {}},
    };
    // clang-format on
    for (const Case &c : cases) {
        Args args{c.args[0], "--port", "SIM0"};
        if (c.args[0] == "read")
            args.insert(args.end(), {"--out", "o"});
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        ParseResult parsed = ParseCommandLine(args);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        lang::SetCode(parsed.options.language);
        std::vector<std::string> prompts;
        size_t next = 0;
        const PasswordSources sources{
            [&](const char *name) {
                const auto value = c.env.find(name);
                return value == c.env.end() ? nullptr : value->second.c_str();
            },
            c.terminal,
            [&](const std::string &prompt) {
                prompts.push_back(prompt);
                return next < c.typed.size() ? c.typed[next++] : std::string();
            }};
        const PasswordsResult result = FindPasswords(parsed.options, sources);
        const std::string row = ::testing::PrintToString(c.args);
        EXPECT_EQ(result.status, c.result.status) << row;
        EXPECT_EQ(result.error, c.result.error) << row;
        EXPECT_EQ(parsed.options.password, c.password) << row;
        EXPECT_EQ(parsed.options.newPassword, c.newPassword) << row;
        EXPECT_EQ(prompts, c.prompts) << row;
    }
    lang::SetCode(1);
}

TEST(CliOptions, RefusesWrongUsageSayingWhy)
{
    const std::string r = "read", pw = "--password", port = "--port";
    const std::pair<Args, std::string> wrong[] = {
        {{}, "missing command"},
        {{"erase"}, "unknown command 'erase'"},
        {{r, pw, "1234", "--out", "o"}, "--port is required"},
        {{r, port, "SIM0", pw, "1", "--password-file", "f", "--out", "o"},
         "give --password or --password-file, not both"},
        {{r, port, "SIM0", pw, "1234"}, "read needs --out FILE"},
        {{r, port, "SIM0", pw, "1234", "--out", "o", "x"}, "read takes no FILE argument"},
        {{"write", port, "SIM0", pw, "1234"}, "write needs exactly one FILE"},
        {{"write", port, "SIM0", pw, "1234", "a", "b"}, "write needs exactly one FILE"},
        {{"write", port, "SIM0", "--forward", "a"},
         "--forward belongs to the verification: give --verify"},
        {{"passwd", port, "SIM0", pw, "1234", "--new", "1", "--new-file", "f"},
         "give --new or --new-file, not both"},
        {{"write", port, "SIM0", pw, "1234", "--new-file", "f", "a"},
         "--new-file does not belong to write"},
        {{r, port, "SIM0", pw, "1234", "--new", "1", "--out", "o"},
         "--new does not belong to read"},
        {{r, port, "SIM0", pw, "1234", "--language", "de", "--out", "o"},
         "--language must be en, pt or es"},
        {{r, port}, "--port needs a value"},
        {{r, port, "SIM0", pw, "1234", "--out", "o", "--verbose"}, "unknown option '--verbose'"},
        {{"verify", port, "SIM0", pw, "1234"}, "verify needs exactly one FILE"},
        {{"verify", port, "SIM0", pw, "1234", "--out", "o", "a"},
         "--out does not belong to verify"},
        {{r, port, "SIM0", pw, "1234", "--out", "o", "--gap"}, "--gap needs a value"},
        {{"--version", "ports"}, "--version takes no options"},
        {{r, port, "A", port, "B", "--out", "o"}, "--port is given more than once"},
        {{"provision", "c.ini"}, "provision needs at least one --port"},
        {{"provision", port, "A", port, "A", "c.ini"}, "the port A is named twice"},
        {{"provision", port, "A", "--out", "o", "c.ini"}, "--out does not belong to provision"},
        {{"ports", "--baud", "9600"}, "--baud belongs to --probe"},
        {{"ports", "--probe", "--dir", "d"}, "--dir does not belong to ports"},
        {{"ports", "x.ini"}, "ports takes no FILE argument"},
        {{"verify", port, "SIM0", "--probe", "c.ini"}, "--probe does not belong to verify"},
        {{r, port, "SIM0", "--out", "o", "--progress", "xml"}, "--progress must be text or json"},
    };
    for (const auto &[args, error] : wrong) {
        const ParseResult result = ParseCommandLine(args);
        EXPECT_FALSE(result.ok) << ::testing::PrintToString(args);
        EXPECT_EQ(result.error, error) << ::testing::PrintToString(args);
    }
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    EXPECT_TRUE(ParseCommandLine({"write", "--port", "A", "-h"}).help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).version);
}

TEST(CliOptions, ProvisionAndPortsTakeTheirPortsAndEveryCommandTheJsonForms)
{
    const ParseResult provision =
        ParseCommandLine({"provision", "--port", "A", "--port", "B", "--verify", "--forward",
                          "--report", "r.csv", "--json", "--progress", "json", "c.ini"});
    ASSERT_TRUE(provision.ok) << provision.error;
    EXPECT_EQ(provision.options.ports, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(provision.options.file, "c.ini");
    EXPECT_EQ(provision.options.report, "r.csv");
    EXPECT_TRUE(provision.options.verify && provision.options.forward);
    EXPECT_TRUE(provision.options.json && provision.options.progressJson);

    const ParseResult ports =
        ParseCommandLine({"ports", "--probe", "--baud", "9600", "--port", "SIM0"});
    ASSERT_TRUE(ports.ok) << ports.error;
    EXPECT_TRUE(ports.options.probe && ports.options.baudGiven);
    EXPECT_EQ(ports.options.ports, std::vector<std::string>{"SIM0"});
    const ParseResult all = ParseCommandLine({"ports", "--progress", "text"});
    ASSERT_TRUE(all.ok) << all.error;
    EXPECT_TRUE(all.options.ports.empty());
    EXPECT_FALSE(all.options.probe || all.options.progressJson || all.options.json);
}

TEST(CliOptions, TheGapIsWholeMillisecondsUpToASecond)
{
    const std::pair<const char *, int> accepted[] = {
        {"0", 0}, {"20", 20}, {"0500", 500}, {"1000", 1000}};
    for (const auto &[text, gap] : accepted) {
        const ParseResult result = ParseCommandLine(
            {"write", "--port", "SIM0", "--password", "1234", "--gap", text, "c.ini"});
        ASSERT_TRUE(result.ok) << text << ": " << result.error;
        EXPECT_EQ(result.options.gap, gap) << text;
    }
    for (const char *text : {"1001", "-1", "", "20ms", "2.5", " 20", "99999"}) {
        const ParseResult result = ParseCommandLine(
            {"write", "--port", "SIM0", "--password", "1234", "--gap", text, "c.ini"});
        EXPECT_FALSE(result.ok) << text;
        EXPECT_EQ(result.error, "--gap must be a whole number of milliseconds from 0 to 1000")
            << text;
    }
}
