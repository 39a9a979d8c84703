#include "engine/engine_globals.h"
#include "engine/job_reports.h"
#include "engine/job_steps.h"
#include "engine/password_job.h"
#include "engine/write_job.h"
#include "job_driver.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "platform/messages.h"
#include "tests/common/case_name.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
#include <optional>

using namespace platform;
using Strings = std::vector<std::string>;

namespace {

// What the window shows for the failure the job reported with `message`
// (the refused line by default), read once the job has run to its end.
JobReport Shown(const FakeJobContext &context, uint32_t message)
{
    const JobFailure failure = context.Carried(message);
    const auto wParam = reinterpret_cast<uintptr_t>(&failure);
    return DescribeJobMessage(message, wParam, 0, {});
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

// The job's whole exchange for a file, against the reviewed transcript in
// golden/write_jobs.txt: a scenario ("== name") gives the file, or the new
// password of a password change ("password NEW"), and the lines the
// terminal refuses ("refuse LINE"); it is followed by every event of the
// job and the step it is left at, as "> " lines (golden_file.h tells how
// to rewrite them).
TEST(WriteJobs, AsTheTranscriptSays)
{
    std::string file;
    std::optional<std::string> newPassword;
    std::set<std::string> refused;
    bool pending = false; // a scenario's steps wait for their run
    const auto run = [&] {
        if (!pending)
            return Strings{};
        pending = false;
        g_strSoftwarePassword = "1234";
        FakeJobContext context;
        WriteJob write{context};
        ModifyPasswordJob change{context};
        WriteBytes(context.TempParameterFilePath(), file);
        if (newPassword) {
            g_strNewPassword = *newPassword;
            Drive(change, context, RefuseOnly(refused));
        } else {
            Drive(write, context, RefuseOnly(refused));
        }
        Strings results = context.Transcript();
        results.push_back("step " +
                          std::to_string(newPassword ? change.CurrentStep() : write.CurrentStep()));
        refused.clear();
        newPassword.reset();
        return results;
    };
    const auto take = [&](const std::string &line) {
        pending = pending || line.starts_with("== ");
        if (line.starts_with("file "))
            file = Unescape(line.substr(5));
        else if (line.starts_with("password "))
            newPassword = line.substr(9);
        else if (line.starts_with("refuse "))
            refused.insert(line.substr(7));
        return Strings{};
    };
    ExpectTranscript(KESTREL_ENGINE_GOLDEN_DIR "/write_jobs.txt", take, run);
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
