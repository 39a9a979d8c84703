#include "engine/engine_globals.h"
#include "engine/job_reports.h"
#include "engine/job_steps.h"
#include "engine/write_job.h"
#include "job_driver.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "platform/messages.h"
#include "tests/common/case_name.h"

#include <gtest/gtest.h>

using namespace platform;
using Strings = std::vector<std::string>;
using Params = FakeJobContext::Params;

namespace {

// What the window shows for the failure the job reported with `message`
// (the refused line by default), read once the job has run to its end.
JobReport Shown(const FakeJobContext &context, uint32_t message)
{
    const JobFailure failure = context.Carried(message);
    const auto wParam = reinterpret_cast<uintptr_t>(&failure);
    return DescribeJobMessage(message, wParam, 0, {});
}

std::string RefusalShown(const FakeJobContext &context)
{
    return Shown(context, WM_WRITE_PARA_LINE_ERR_NOTIFY).text;
}

class WriteJobTest : public ::testing::Test
{
protected:
    void SetUp() override { g_strSoftwarePassword = "1234"; }

    void Run(const std::string &file, const Answer &answer)
    {
        WriteBytes(context.TempParameterFilePath(), file);
        Drive(job, context, answer);
    }

    FakeJobContext context;
    WriteJob job{context};
};

const Answer kAcceptAll = RefuseOnly({});

TEST_F(WriteJobTest, SendsTheTransactionAroundEveryEntry)
{
    Run("[PARA]\r\n2=\"5\"\r\n5=\"01\"\r\n", kAcceptAll);
    // Without AT commands "AT&W" follows a pause of 500 ms, not the device pause.
    EXPECT_EQ(context.Timeline(),
              (Strings{"pause 20", "AT+WPAR=9996,\"1234\"", "AT+WPAR=2,\"5\"", "AT+WPAR=5,\"01\"",
                       "AT+WPAR=9999", "AT+WPAR=9995", "pause 500", "AT&W"}));
    const Params progress = context.Posted(WM_WRITE_PARA_PROGRESS_NOTIFY);
    ASSERT_EQ(progress.size(), 3u);
    EXPECT_EQ(progress[0], (std::pair<uintptr_t, intptr_t>{3, 1}));
    EXPECT_EQ(progress[1], (std::pair<uintptr_t, intptr_t>{3, 2}));
    EXPECT_EQ(progress[2].first, 5u);
    const Params ok = context.Posted(WM_WRITE_PARA_OK_NOTIFY);
    ASSERT_EQ(ok.size(), 3u);
    EXPECT_EQ(ok[2].first, 7u);
    EXPECT_TRUE(context.Has(FakeJobContext::Event::Closed));
    EXPECT_EQ(context.events.back().text, "comm closed after writing\n\n");
}

TEST_F(WriteJobTest, EmptyParameterSectionGoesStraightToTheAtCommands)
{
    Run("[PARA]\r\n[ATCMD]\r\nAT+CCFC4=\"4,4\"\r\nAT+CCLK=\"11/04/25,10:30:00-03\"\r\n",
        kAcceptAll);
    EXPECT_EQ(context.Timeline(), (Strings{"pause 20", "AT+WPAR=9996,\"1234\"", "AT+CCFC=4,4",
                                           "AT+CCLK=\"11/04/25,10:30:00-03\"", "AT+WPAR=9999",
                                           "AT+WPAR=9995", "device pause", "AT&W"}));
    EXPECT_EQ(context.Posted(WM_WRITE_PARA_PROGRESS_NOTIFY).back().first, 7u);
}

TEST_F(WriteJobTest, ARefusedEntryIsReportedAndTheTransactionStillSaved)
{
    Run("[PARA]\r\n2=\"5\"\r\n5=\"01\"\r\n35=\"00\"\r\n", RefuseOnly({"AT+WPAR=5,\"01\""}));
    EXPECT_EQ(context.Sent(),
              (Strings{"AT+WPAR=9996,\"1234\"", "AT+WPAR=2,\"5\"", "AT+WPAR=5,\"01\"",
                       "AT+WPAR=9999", "AT+WPAR=9995", "AT&W"}));
    EXPECT_EQ(context.Posted(WM_WRITE_PARA_LINE_ERR_NOTIFY), (Params{{3, 2}}));
    EXPECT_EQ(context.Carried(WM_WRITE_PARA_LINE_ERR_NOTIFY).text, "AT+WPAR=5,\"01\"");
    EXPECT_EQ(RefusalShown(context),
              "Error: Fail to write parameter [2].Error Enable Long Distance Call Block!")
        << "the lines sent after the refusal do not change its name";
    EXPECT_EQ(
        Shown(context, WM_WRITE_PARA_ACCOUNT_NOTIFY).account,
        "Written and saved on the terminal: parameter 1 of 3. Refused: parameter 2. Not sent: "
        "parameter 3.");
}

TEST_F(WriteJobTest, ARefusedPasswordSendsNothingMore)
{
    Run("[PARA]\r\n2=\"5\"\r\n", RefuseOnly({"AT+WPAR=9996,\"1234\""}));
    EXPECT_EQ(context.Sent(), (Strings{"AT+WPAR=9996,\"1234\""}));
    EXPECT_EQ(context.Posted(WM_WRITE_PARA_ERR_NOTIFY), (Params{{1, 0}}));
    EXPECT_TRUE(context.Posted(WM_WRITE_PARA_ACCOUNT_NOTIFY).empty()) << "the password says it all";
    EXPECT_TRUE(context.Has(FakeJobContext::Event::Closed));
    EXPECT_EQ(context.events.back().text,
              "comm closed because of software password error while writing\n\n");
}

struct PinCase
{
    const char *name;
    const char *entries;
    std::set<std::string> refused;
    Strings expected; // what follows "AT+WPAR=" in the lines after the login, before the save,
                      // and the pauses between them
};

class WritePinFollowUps : public WriteJobTest, public ::testing::WithParamInterface<PinCase>
{
};

TEST_P(WritePinFollowUps, SendsTheRightLines)
{
    const PinCase &c = GetParam();
    Run(std::string("[PARA]\r\n") + c.entries + "16001=\"00\"\r\n", RefuseOnly(c.refused));
    Strings expected = {"pause 20", "AT+WPAR=9996,\"1234\""};
    for (const std::string &line : c.expected)
        expected.push_back(line.starts_with("pause") ? line : "AT+WPAR=" + line);
    const Strings sent = context.Timeline();
    EXPECT_EQ(Strings(sent.begin(), std::find(sent.begin(), sent.end(), "AT+WPAR=9999")), expected);
}

// clang-format off
const PinCase kPinCases[] = {
    {"LockOnFollowUp", "16549=\"1234\"\r\n", {},
     {"16549,\"1234\"", "pause 5000", "16552,\"4711\"", "16553,\"4711\"", "16001,\"00\""}},
    {"RefusedStartUpPinSkipsUnlock", "16550=\"1234\"\r\n16551=\"1234\"\r\n",
     {"AT+WPAR=16550,\"1234\""}, {"16550,\"1234\"", "16001,\"00\""}},
    {"AcceptedStartUpPinSkipsLock", "16550=\"1234\"\r\n16549=\"1234\"\r\n", {},
     {"16550,\"1234\"", "16001,\"00\""}},
    {"ChangePinSkipsUnlockAfterFollowUp",
     "16550=\"5678\"\r\n16549=\"1234\"\r\n16548=\"1234\",\"5678\"\r\n16551=\"5678\"\r\n", {},
     {"16550,\"5678\"", "16548,\"1234\",\"5678\"", "pause 5000", "16552,\"4711\"",
      "16553,\"4711\"", "16001,\"00\""}},
    // Under a refused start-up PIN the change gets its pause, but no follow-up.
    {"ChangePinAfterARefusedStartUpPin", "16550=\"1234\"\r\n16548=\"1234\",\"5678\"\r\n",
     {"AT+WPAR=16550,\"1234\""}, {"16550,\"1234\"", "16548,\"1234\",\"5678\"", "pause 5000", "16001,\"00\""}},
    // Only the PIN keys themselves: 116550 is an ordinary entry, its refusal a failure.
    {"KeyContainingAPinNumberIsNoPin", "116550=\"1234\"\r\n16551=\"1234\"\r\n",
     {"AT+WPAR=116550,\"1234\""}, {"116550,\"1234\""}},
    {"KeyContainingAPinNumberGetsNoFollowUp", "165490=\"1234\"\r\n", {},
     {"165490,\"1234\"", "16001,\"00\""}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Pin, WritePinFollowUps, ::testing::ValuesIn(kPinCases), CaseName());

TEST_F(WriteJobTest, ARefusedPinCheckIsNamedAtThePositionOfThePinEntry)
{
    Run("[PARA]\r\n2=\"5\"\r\n16549=\"1234\"\r\n16001=\"00\"\r\n",
        RefuseOnly({"AT+WPAR=16553,\"4711\""}));
    EXPECT_EQ(context.Posted(WM_WRITE_PARA_LINE_ERR_NOTIFY), (Params{{3, 2}}))
        << "the position of the 16549 entry";
    EXPECT_EQ(context.Carried(WM_WRITE_PARA_LINE_ERR_NOTIFY).text, "AT+WPAR=16553,\"4711\"");
    EXPECT_EQ(RefusalShown(context), "Error: PIN Code invalid!");
}

TEST_F(WriteJobTest, ARefusedFollowUpIsRepeatedAFewTimesThenCountsAsRefused)
{
    Run("[PARA]\r\n16549=\"1234\"\r\n16001=\"00\"\r\n", RefuseOnly({"AT+WPAR=16552,\"4711\""}));
    const Strings sent = context.Sent();
    const auto repeats = std::count(sent.begin(), sent.end(), "AT+WPAR=16552,\"4711\"");
    EXPECT_EQ(repeats, 1 + WriteJob::kMaxPinFollowUpRepeats);
    const Strings timeline = context.Timeline();
    EXPECT_EQ(std::count(timeline.begin(), timeline.end(), "pause 5000"), repeats)
        << "a pause before the follow-up and before each repeat";
    EXPECT_EQ(context.Posted(WM_WRITE_PARA_LINE_ERR_NOTIFY), (Params{{3, 1}}));
    EXPECT_EQ(context.Carried(WM_WRITE_PARA_LINE_ERR_NOTIFY).text, "AT+WPAR=16552,\"4711\"");
    EXPECT_EQ(sent.back(), "AT&W");
}

TEST_F(WriteJobTest, AnEntryTooLongForTheCommandBufferIsNotSentButReported)
{
    const std::string longValue(600, '7');
    Run("[PARA]\r\n2=\"5\"\r\n16212=\"" + longValue + "\"\r\n16517=\"01\"\r\n", kAcceptAll);
    const Strings sent = context.Sent();
    for (const std::string &line : sent)
        EXPECT_LT(line.size(), 512u);
    EXPECT_EQ(context.Posted(WM_WRITE_PARA_LINE_ERR_NOTIFY), (Params{{3, 2}}));
    EXPECT_EQ(context.Carried(WM_WRITE_PARA_LINE_ERR_NOTIFY).text.rfind("AT+WPAR=16212,", 0), 0u)
        << "names the entry that did not fit";
}

TEST_F(WriteJobTest, TheFileIsReadOnceAtTheStartOfTheJob)
{
    WriteBytes(context.TempParameterFilePath(),
               "[PARA]\r\n2=\"5\"\r\n[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
    job.Step(nullptr);
    const std::string ok = "OK";
    job.Step(&ok); // the login accepted: the job takes its entries
    WriteBytes(context.TempParameterFilePath(), "[ATCMD]\r\nAT+CCWA=\"0,0,7\"\r\n");
    job.Step(&ok);
    EXPECT_EQ(context.Sent(), (Strings{"AT+WPAR=9996,\"1234\"", "AT+WPAR=2,\"5\"", "AT+CCWA=1,1"}));
}

TEST_F(WriteJobTest, RefusedAtCommandReportsItsPosition)
{
    Run("[PARA]\r\n[ATCMD]\r\nAT+CCWA=\"1,1\"\r\nAT+CCFC0=\"0,4\"\r\n",
        RefuseOnly({"AT+CCFC=0,4"}));
    EXPECT_EQ(context.Posted(WM_WRITE_PARA_LINE_ERR_NOTIFY), (Params{{4, 2}}));
    EXPECT_EQ(RefusalShown(context),
              "Error: Fail to write AT command [2].Error Forward Unconditional 0496!");
    EXPECT_EQ(context.Sent().back(), "AT&W");
}

// The cable goes while the command after the first `answered` is in flight.
struct PortLostCase
{
    const char *name;
    size_t answered;
    int language;
    const char *account;
};

class WritePortLost : public WriteJobTest, public ::testing::WithParamInterface<PortLostCase>
{
};

TEST_P(WritePortLost, EndsAtOnceSayingWhatTheTerminalHolds)
{
    const PortLostCase &c = GetParam();
    g_strPortName = "ttyUSB0";
    WriteBytes(context.TempParameterFilePath(),
               "[PARA]\r\n2=\"5\"\r\n5=\"01\"\r\n35=\"00\"\r\n"
               "[ATCMD]\r\nAT+CCWA=\"1,1\"\r\nAT+CCFC4=\"4,4\"\r\n");
    Drive(job, context, kAcceptAll, c.answered);
    ASSERT_FALSE(context.Has(FakeJobContext::Event::Completed));
    job.OnCut(JobCut::PortLost);
    EXPECT_TRUE(context.Has(FakeJobContext::Event::Completed));
    EXPECT_TRUE(context.Has(FakeJobContext::Event::Closed));
    lang::SetCode(c.language);
    const JobReport report = Shown(context, WM_JOB_PORT_LOST_NOTIFY);
    lang::SetCode(lang::kEnglish);
    EXPECT_EQ(report.account, c.account);
    EXPECT_TRUE(report.jobEnded && report.failure);
    EXPECT_EQ(report.after, JobReport::After::EndOfWrite);
    if (c.language == lang::kEnglish) {
        EXPECT_EQ(report.text, "Error: The terminal was disconnected from the port ttyUSB0!");
    }
}

// clang-format off
const PortLostCase kPortLostCases[] = {
    {"AtTheLogin", 0, 1, "Nothing was written on the terminal."},
    {"AtAParameter", 2, 1, "Written but not saved on the terminal: parameter 1 of 3. Sent without an answer: "
     "parameter 2. Not sent: parameter 3, AT commands 1 to 2."},
    {"AtAParameterPt", 2, 2, "Escritos, mas não gravados no terminal: parâmetro 1 de 3. Enviado sem resposta: "
     "parâmetro 2. Não enviados: parâmetro 3, comandos AT 1 a 2."},
    {"AtAParameterEs", 2, 3, "Escritos pero no guardados en el terminal: parámetro 1 de 3. Enviado sin respuesta: "
     "parámetro 2. No enviados: parámetro 3, comandos AT 1 a 2."},
    {"AtAnAtCommand", 5, 1, "Written but not saved on the terminal: parameters 1 to 3 of 3. Written on the "
     "terminal: AT command 1 of 2. Sent without an answer: AT command 2."},
    {"AtTheSave", 6, 1, "Written, but the terminal did not confirm saving them: parameters 1 to 3 of 3. "
     "Written on the terminal: AT commands 1 to 2 of 2."},
    {"AfterTheSave", 7, 1, "Written and saved on the terminal: parameters 1 to 3 of 3. Written on the "
     "terminal: AT commands 1 to 2 of 2."},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Write, WritePortLost, ::testing::ValuesIn(kPortLostCases), CaseName());

TEST_F(WriteJobTest, RefusedSaveEndAndStoreAreEachReported)
{
    const std::pair<const char *, uintptr_t> cases[] = {
        {"AT+WPAR=9999", kStepSave}, {"AT+WPAR=9995", kStepTransactionEnd}, {"AT&W", kStepStore}};
    for (const auto &[refused, step] : cases) {
        FakeJobContext fresh;
        WriteJob freshJob(fresh);
        WriteBytes(fresh.TempParameterFilePath(), "[PARA]\r\n2=\"5\"\r\n");
        Drive(freshJob, fresh, RefuseOnly({refused}));
        EXPECT_EQ(fresh.Posted(WM_WRITE_PARA_ERR_NOTIFY), (Params{{step, 0}})) << refused;
        EXPECT_TRUE(fresh.Has(FakeJobContext::Event::Completed)) << refused;
        EXPECT_TRUE(fresh.Has(FakeJobContext::Event::Closed)) << refused;
    }
}

// The watchdog ends a write while a PIN follow-up line is in flight; the next
// write must not go on with that follow-up.
struct AbortCase
{
    const char *name;
    size_t answeredBeforeAbort; // of 9996, 16549, 16552: the next one is in flight
    const char *nextEntries;
    std::set<std::string> refused;
    Strings expected; // what follows "AT+WPAR=" in the lines of the next write
};

class WriteAfterAbort : public WriteJobTest, public ::testing::WithParamInterface<AbortCase>
{
};

TEST_P(WriteAfterAbort, StartsAfresh)
{
    const AbortCase &c = GetParam();
    WriteBytes(context.TempParameterFilePath(), "[PARA]\r\n16549=\"1234\"\r\n16001=\"00\"\r\n");
    Drive(job, context, kAcceptAll, c.answeredBeforeAbort);
    ASSERT_FALSE(context.Has(FakeJobContext::Event::Completed));
    job.Abort();

    context.events.clear();
    Run(std::string("[PARA]\r\n") + c.nextEntries, RefuseOnly(c.refused));
    Strings expected;
    for (const std::string &line : c.expected)
        expected.push_back("AT+WPAR=" + line);
    expected.push_back("AT&W");
    EXPECT_EQ(context.Sent(), expected);
}

// clang-format off
const AbortCase kAbortCases[] = {
    {"LockFollowUpInFlight", 2, "2=\"5\"\r\n5=\"01\"\r\n", {},
     {"9996,\"1234\"", "2,\"5\"", "5,\"01\"", "9999", "9995"}},
    {"LockFollowUpInFlightNextEntryRefused", 2, "2=\"5\"\r\n5=\"01\"\r\n", {"AT+WPAR=2,\"5\""},
     {"9996,\"1234\"", "2,\"5\"", "9999", "9995"}},
    {"PinCheckInFlight", 3, "16548=\"1234\",\"5678\"\r\n16551=\"5678\"\r\n2=\"5\"\r\n", {},
     {"9996,\"1234\"", "16548,\"1234\",\"5678\"", "16552,\"4711\"", "16553,\"4711\"", "2,\"5\"",
      "9999", "9995"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Pin, WriteAfterAbort, ::testing::ValuesIn(kAbortCases), CaseName());

} // namespace
