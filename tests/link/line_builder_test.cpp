#include "link/line_builder.h"
#include "link/serial_port.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Errors = std::vector<RxError>;

// A receiving window that records what reaches it.
class RecordingOwner : public IRxLineOwner
{
public:
    explicit RecordingOwner(CSerialPort &port) : builder(port, *this) {}

    void OnRxLineReady() override
    {
        if (!takeLines)
            return;
        if (auto line = builder.TakeLine())
            lines.push_back(*line);
    }
    void OnRxError(RxError error) override { errors.push_back(error); }

    bool Feed(const std::string &bytes) { return builder.Feed(bytes.data(), bytes.size()); }

    RxLineBuilder builder;
    bool takeLines = true;
    Lines lines;
    Errors errors;
};

class LineBuilder : public ::testing::Test
{
protected:
    CSerialPort port;
    RecordingOwner owner{port};
};

TEST(LineBuilderBytes, SplitsTheTerminalsBytesIntoLines)
{
    // clang-format off
    const std::pair<std::string, Lines> cases[] = {
        {"\r\nOK\r\n", {"OK"}}, {"AB\nCD\r", {"AB\nCD"}}, {"\n\n\r\r", {}}, {"> ", {"> "}},
        {">x\r", {">x"}},       {"> \r\n", {"> "}},      {">\r", {">"}},    {">> \r", {">> "}},
        {"x> \r", {"x> "}},     {"> > \r", {"> ", "> "}}, {"unfinished", {}},
        {">\rA B\r", {">", "A B"}}, // the prompt state ends with its line
        {"AT+RPAR=20\r\r\n+RPAR: 20,\"1\"\r\n\r\nOK\r\n", {"AT+RPAR=20", "+RPAR: 20,\"1\"", "OK"}},
        {std::string("A\0B\r", 4), {std::string("A\0B", 3)}},
    };
    // clang-format on
    for (const auto &[bytes, expected] : cases) {
        CSerialPort port;
        RecordingOwner owner(port);
        EXPECT_TRUE(owner.Feed(bytes));
        EXPECT_EQ(owner.lines, expected) << bytes;
        EXPECT_TRUE(owner.errors.empty());
        EXPECT_TRUE(port.LineBufferFree());
    }
}

TEST(LineBuilderBytes, OnlyAFinalReplyIsNotedForTheDeviceGap)
{
    const std::pair<std::string, bool> cases[] = {
        {"AT+RPAR=5\r", false},
        {"\r\n+RPAR: 5\r\n", false},
        {"RING\r", false},
        {"OK \r", false},
        {"+CMS ERROR: 500\r", false},
        {"\r\nOK", false}, // no CR yet
        {"\r\nOK\r\n", true},
        {"error\r", true},
        {"+cme error: 16\r", true},
    };
    for (const auto &[bytes, final] : cases) {
        CSerialPort port;
        RecordingOwner owner(port);
        ASSERT_EQ(port.LastFinalReply(), std::chrono::steady_clock::time_point()) << "none yet";
        const auto before = std::chrono::steady_clock::now();
        EXPECT_TRUE(owner.Feed(bytes));
        EXPECT_EQ(port.LastFinalReply() >= before, final) << bytes;
    }
}

TEST(LineBuilderBytes, AnySplitAcrossNotificationsGivesTheSameLines)
{
    const std::string stream = "\r\nAT+WPAR=9996,\"1234\"\r\r\nOK\r\n> \r\nAB\nCD\r>x\r"
                               "+CME ERROR: 16\r\n" +
                               std::string(1024, 'L') + "\r\n\r\nERROR\r\n";
    CSerialPort wholePort;
    RecordingOwner whole(wholePort);
    ASSERT_TRUE(whole.Feed(stream));
    ASSERT_EQ(whole.lines.size(), 8u);

    std::mt19937 random(20110305);
    for (int round = 0; round < 200; ++round) {
        CSerialPort port;
        RecordingOwner owner(port);
        for (size_t at = 0; at < stream.size();) {
            const std::string batch =
                stream.substr(at, std::uniform_int_distribution<size_t>(0, 40)(random));
            ASSERT_TRUE(owner.Feed(batch));
            at += batch.size();
        }
        ASSERT_EQ(owner.lines, whole.lines) << "round " << round;
    }
}

TEST(LineBuilderBytes, ALineOfUpTo1024BytesIsWholeALongerOneIsDroppedToItsCr)
{
    for (const size_t length : {1023u, 1024u, 1025u, 1026u}) {
        CSerialPort port;
        RecordingOwner owner(port);
        // Of a dropped line, the prompt-like tail is not a line either.
        const std::string line = std::string(length - 4, 'x') + "> OK";
        EXPECT_TRUE(owner.Feed(line + "\rOK\r\n"));
        const bool whole = length <= 1024;
        EXPECT_EQ(owner.lines, (whole ? Lines{line, "OK"} : Lines{"OK"})) << length;
        EXPECT_EQ(owner.errors, whole ? Errors{} : Errors{RxError::Overflow}) << length;
        EXPECT_FALSE(owner.builder.InLine() || owner.builder.DroppingLine()) << length;
    }
}

TEST_F(LineBuilder, EachOverlongLineIsReportedOnceHoweverItIsSplit)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(owner.Feed(std::string(1000, 'x')));
    ASSERT_TRUE(owner.Feed("x\r\nOK\r"));
    EXPECT_EQ(owner.errors, Errors{RxError::Overflow});
    ASSERT_TRUE(owner.Feed(std::string(2000, 'y') + "\rERROR\r"));
    EXPECT_EQ(owner.errors, (Errors{RxError::Overflow, RxError::Overflow}));
    EXPECT_EQ(owner.lines, (Lines{"OK", "ERROR"}));
}

TEST(LineBuilderReport, TheDroppedLineIsReportedAfterTheWholeBatch)
{
    // The owner's message box may let the next notification in: by then the
    // builder has taken the whole batch.
    struct ReportingOwner : RecordingOwner
    {
        using RecordingOwner::RecordingOwner;
        void OnRxError(RxError error) override
        {
            RecordingOwner::OnRxError(error);
            linesAtError = lines.size();
        }
        size_t linesAtError = 0;
    };
    CSerialPort port;
    ReportingOwner owner(port);
    ASSERT_TRUE(owner.Feed(std::string(1100, 'x') + "\rOK\r"));
    EXPECT_EQ(owner.linesAtError, 1u);
}

// A line not taken stops the next with a swap error; the ready line stays
// the first one. Found by fuzzing: the line whose CR (or prompt blank) met
// the error was continued by the next bytes, so "> " became "> hello".
TEST(LineBuilderSwapError, TheReadyLineStaysAndTheOneThatMetItIsNotJoinedToTheNextBytes)
{
    const std::tuple<const char *, const char *, const char *, const char *> cases[] = {
        {"first\rsecond\rthird\r", "first", "x\r", "x"},
        {"first\r> ", "first", "hello\r", "hello"},
        {"AAAAAA\r\n> ", "AAAAAA", "CMB\r", "CMB"},
    };
    for (const auto &[stopped, ready, next, expected] : cases) {
        CSerialPort port;
        RecordingOwner owner(port);
        owner.takeLines = false;
        EXPECT_FALSE(owner.Feed(stopped));
        EXPECT_EQ(owner.errors, Errors{RxError::SwapFailed}) << stopped;
        EXPECT_FALSE(port.LineBufferFree()) << stopped;
        const auto line = owner.builder.TakeLine();
        ASSERT_TRUE(line);
        EXPECT_EQ(*line, ready);
        EXPECT_TRUE(port.LineBufferFree()) << stopped;
        EXPECT_FALSE(owner.builder.InLine()) << stopped;
        owner.takeLines = true;
        EXPECT_TRUE(owner.Feed(next));
        EXPECT_EQ(owner.lines, Lines{expected}) << stopped;
    }
}

TEST_F(LineBuilder, TakingWithNothingReadyIsNoData)
{
    EXPECT_EQ(owner.builder.TakeLine(), nullptr);
    ASSERT_TRUE(owner.Feed("OK\r"));
    EXPECT_EQ(owner.builder.TakeLine(), nullptr) << "already taken";
    EXPECT_EQ(owner.errors, (Errors{RxError::NoData, RxError::NoData}));
}

TEST_F(LineBuilder, EachWindowKeepsItsOwnStateOnTheSharedBuffers)
{
    RecordingOwner mainWindow(port);
    ASSERT_TRUE(owner.Feed("> "));
    ASSERT_TRUE(mainWindow.Feed("AB"));
    EXPECT_FALSE(owner.builder.InLine());
    EXPECT_TRUE(mainWindow.builder.InLine());
    ASSERT_TRUE(mainWindow.Feed("C\r"));
    EXPECT_EQ(owner.lines, Lines{"> "});
    EXPECT_EQ(mainWindow.lines, Lines{"ABC"});
}

TEST_F(LineBuilder, ResetHandlesEmptiesTheBuffers)
{
    owner.takeLines = false;
    ASSERT_TRUE(owner.Feed("OK\rAB"));
    port.ResetHandles();
    EXPECT_TRUE(port.LineBufferFree());
    EXPECT_EQ(port.FillBuffer().count + port.ReadyBuffer().count, 0);
    EXPECT_TRUE(port.PostMsgEventSet());
    owner.takeLines = true;
    ASSERT_TRUE(owner.Feed("C\r"));
    EXPECT_EQ(owner.lines, Lines{"C"}) << "a line begun before the reset goes on from the start";
}

} // namespace
