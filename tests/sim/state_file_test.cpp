// The state file: a faithful round trip, damaged files refused, and what
// reaches the file when.

#include "sim/terminal_core.h"
#include "sim/terminal_state.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace sim;

namespace {

class StateFile : public ::testing::Test
{
protected:
    SimOptions WithFile() const
    {
        SimOptions options;
        options.stateFile = m_path;
        return options;
    }
    static std::string Read(TerminalCore &core, int number)
    {
        const Reply reply = core.Execute("AT+RPAR=" + std::to_string(number));
        return reply.lines.empty() ? reply.final : reply.lines[0];
    }

    TempFolder m_dir;
    std::string m_path = m_dir.File("terminal.state");
};

} // namespace

TEST_F(StateFile, RoundTripKeepsEverything)
{
    TerminalState state = TerminalState::Fresh("abc 12", "2468", {std::chrono::seconds(-7200), -8});
    state.pinLock = true;
    state.waitingClasses = 5;
    state.forwards[2] = {true, "+5550100", 145, 25};
    state.forwards[3] = {false, "5550199", 129, 20};
    state.parameters[16212] = "5550123";
    state.parameters[32] = "a=b c"; // '=' and blanks inside a value

    std::string error;
    const mode_t umaskBefore = ::umask(022);
    ASSERT_TRUE(SaveState(state, m_path, error)) << error;
    ::umask(umaskBefore);
    EXPECT_EQ(ModeOf(m_path), 0600u) << "it holds the password and the PIN";
    TerminalState loaded = TerminalState::Fresh("x", "y", {});
    ASSERT_TRUE(LoadState(m_path, loaded, error)) << error;
    const auto fields = [](const TerminalState &s) {
        std::vector<std::string> all = {s.password,
                                        s.simPin,
                                        std::to_string(s.pinLock),
                                        std::to_string(s.waitingClasses),
                                        std::to_string(s.clock.offset.count()),
                                        std::to_string(s.clock.zoneQuarters)};
        for (const ForwardEntry &f : s.forwards)
            all.push_back(std::to_string(f.active) + "," + f.number + "," + std::to_string(f.type) +
                          "," + std::to_string(f.time));
        for (const auto &[number, value] : s.parameters)
            all.push_back(std::to_string(number) + "=" + value);
        return all;
    };
    EXPECT_EQ(fields(loaded), fields(state));
}

TEST_F(StateFile, DamagedFilesAreRefusedAndLeftAlone)
{
    const std::vector<std::string> damaged = {
        "password=1234\nparam.4=1\n",   // unknown parameter
        "param.5=01\nno equals sign\n", // not key=value
        "forward.2=1,555,abc,20\n",     // bad type
        "forward.2=2,555,129,20\n",     // neither on nor off
        "forward.2=1,555,129\n",        // a field missing
        "forward.2=1,555,129,20,0\n",   // a field too many
        "forward.4=1,555,129,20\n",     // no such reason
        "clock-zone=60\n",              // zone out of range
        "pin-lock=yes\n",
    };
    for (const std::string &text : damaged) {
        WriteBytes(m_path, text);
        TerminalCore core{WithFile()};
        std::string error;
        EXPECT_FALSE(core.LoadStateFile(error)) << text;
        EXPECT_NE(error.find(" line "), std::string::npos) << error;
        EXPECT_EQ(ReadBytes(m_path), text);
    }
    std::filesystem::remove(m_path);
    std::filesystem::create_directory(m_path);
    std::string error;
    EXPECT_FALSE(TerminalCore{WithFile()}.LoadStateFile(error));
    EXPECT_EQ(error, "cannot read " + m_path);
}

TEST_F(StateFile, ParametersReachTheFileWithAtAndW)
{
    {
        TerminalCore core{WithFile()};
        std::string error;
        ASSERT_TRUE(core.LoadStateFile(error)) << "a missing file is a fresh terminal";
        for (const char *line : {"AT+WPAR=9996,\"1234\"", "AT+WPAR=5,\"01\"", "AT+WPAR=9999",
                                 "AT+WPAR=9995", "AT+CCWA=1,1,1"})
            ASSERT_EQ(core.Execute(line).final, "OK") << line;
    }
    {
        TerminalCore core{WithFile()};
        std::string error;
        ASSERT_TRUE(core.LoadStateFile(error)) << error;
        EXPECT_EQ(Read(core, 5), "+RPAR: 00") << "saved with 9999 but never stored with AT&W";
        EXPECT_EQ(core.State().waitingClasses, 1) << "network settings are kept at once";
        for (const char *line : {"AT+WPAR=9996,\"1234\"", "AT+WPAR=5,\"01\"", "AT+WPAR=9999",
                                 "AT+WPAR=1,\"1234\",\"8765\",\"8765\"", "AT+WPAR=9995", "AT&W"})
            ASSERT_EQ(core.Execute(line).final, "OK") << line;
    }
    TerminalCore core{WithFile()};
    std::string error;
    ASSERT_TRUE(core.LoadStateFile(error)) << error;
    EXPECT_EQ(Read(core, 5), "+RPAR: 01");
    EXPECT_EQ(core.State().password, "8765");
}

TEST_F(StateFile, AnUnwritableFileFailsAtAndW)
{
    SimOptions options;
    options.stateFile = m_dir.File("missing-folder/terminal.state");
    TerminalCore core{options};
    EXPECT_EQ(core.Execute("AT&W").final, "ERROR");
    EXPECT_FALSE(core.SaveError().empty());
}
