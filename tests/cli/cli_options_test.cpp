// Where the passwords come from; the command lines themselves are in
// golden/cli_runs.txt.

#include "cli/cli_options.h"
#include "cli/password_sources.h"
#include "params/language.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <map>

using Args = std::vector<std::string>;

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
