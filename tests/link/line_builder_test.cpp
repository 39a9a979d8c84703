#include "link/line_builder.h"
#include "link/serial_port.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
#include <memory>
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

// One step of golden/line_builder.txt; what reached the window and the
// state it leaves.
std::vector<std::string> Step(CSerialPort &port, RecordingOwner &owner, const std::string &step)
{
    static const char *const kErrors[] = {"overflow", "swap failed", "no data"};
    std::vector<std::string> results;
    const auto lastFinal = port.LastFinalReply();
    owner.lines.clear();
    owner.errors.clear();
    if (step.starts_with("feed ") && !owner.Feed(Unescape(step.substr(5))))
        results.push_back("refused");
    if (step == "hold" || step == "resume")
        owner.takeLines = step == "resume";
    if (step == "take") {
        const auto line = owner.builder.TakeLine();
        results.push_back(line ? "took \"" + Printable(*line) + '"' : "took nothing");
    }
    if (step == "reset") {
        port.ResetHandles();
        results.push_back("buffers " +
                          std::to_string(port.FillBuffer().count + port.ReadyBuffer().count) +
                          (port.PostMsgEventSet() ? ", event set" : ""));
    }
    for (const std::string &line : owner.lines)
        results.push_back("line \"" + Printable(line) + '"');
    for (const RxError error : owner.errors)
        results.push_back(std::string("error ") + kErrors[int(error)]);
    if (port.LastFinalReply() != lastFinal)
        results.push_back("final reply");
    if (owner.builder.InLine() || owner.builder.DroppingLine() || !port.LineBufferFree())
        results.push_back(std::string("state") + (owner.builder.InLine() ? " in-line" : "") +
                          (owner.builder.DroppingLine() ? " dropping" : "") +
                          (port.LineBufferFree() ? "" : " line-not-taken"));
    return results;
}

TEST(LineBuilderSteps, AsTheTranscriptSays)
{
    std::unique_ptr<CSerialPort> port;
    std::unique_ptr<RecordingOwner> owner;
    const auto take = [&](const std::string &line) -> std::vector<std::string> {
        if (line.starts_with("== ")) {
            owner.reset();
            port = std::make_unique<CSerialPort>();
            owner = std::make_unique<RecordingOwner>(*port);
        } else if (owner && !line.empty() && !line.starts_with("#")) {
            return Step(*port, *owner, line);
        }
        return {};
    };
    ExpectTranscript(KESTREL_LINK_GOLDEN_DIR "/line_builder.txt", take, NoResults);
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

} // namespace
