#include "engine/engine_globals.h"
#include "engine/job_reports.h"
#include "engine/job_steps.h"
#include "engine/password_job.h"
#include "engine/write_job.h"
#include "job_driver.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "platform/messages.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
#include <optional>

using namespace platform;
using Strings = std::vector<std::string>;

namespace {

// The job's whole exchange for a file, against the reviewed transcript in
// golden/write_jobs.txt: a scenario ("== name") gives the file, or the new
// password of a password change ("password NEW"), the lines the terminal
// refuses ("refuse LINE"), the cable pulled or the user's Stop while the
// command after the N-th answered one is in flight ("cut after N", "stop
// after N"), a write of the file so
// far that the watchdog ends in the same way before the scenario's own
// ("abort after N"), and the language of the texts ("language N"); it is
// followed by every event of the
// job and the step it is left at, as "> " lines (golden_file.h tells how
// to rewrite them).
TEST(WriteJobs, AsTheTranscriptSays)
{
    std::string file;
    std::optional<std::string> newPassword;
    std::set<std::string> refused;
    std::optional<std::pair<JobCut, size_t>> cut;          // and the lines answered before it
    std::optional<std::pair<std::string, size_t>> aborted; // the file and its answered lines
    int language = lang::kEnglish;
    bool pending = false; // a scenario's steps wait for their run
    const auto run = [&] {
        if (!pending)
            return Strings{};
        pending = false;
        g_strSoftwarePassword = "1234";
        g_strPortName = "ttyUSB0";
        FakeJobContext context;
        WriteJob write{context};
        ModifyPasswordJob change{context};
        if (aborted) {
            WriteBytes(context.TempParameterFilePath(), aborted->first);
            Drive(write, context, RefuseOnly({}), aborted->second);
            write.Abort();
            context.events.clear();
        }
        WriteBytes(context.TempParameterFilePath(), file);
        const size_t answered = cut ? cut->second : 2000;
        if (newPassword) {
            g_strNewPassword = *newPassword;
            Drive(change, context, RefuseOnly(refused), answered);
            if (cut)
                change.OnCut(cut->first);
        } else {
            Drive(write, context, RefuseOnly(refused), answered);
            if (cut)
                write.OnCut(cut->first);
        }
        lang::SetCode(std::exchange(language, lang::kEnglish));
        Strings results = context.Transcript();
        lang::SetCode(lang::kEnglish);
        results.push_back("step " +
                          std::to_string(newPassword ? change.CurrentStep() : write.CurrentStep()));
        refused.clear();
        newPassword.reset();
        cut.reset();
        aborted.reset();
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
        else if (line.starts_with("cut after "))
            cut.emplace(JobCut::PortLost, std::stoul(line.substr(10)));
        else if (line.starts_with("stop after "))
            cut.emplace(JobCut::Stopped, std::stoul(line.substr(11)));
        else if (line.starts_with("abort after "))
            aborted.emplace(file, std::stoul(line.substr(12)));
        else if (line.starts_with("language "))
            language = std::stoi(line.substr(9));
        return Strings{};
    };
    ExpectTranscript(KESTREL_ENGINE_GOLDEN_DIR "/write_jobs.txt", take, run);
}

TEST(WriteJob, TheFileIsReadOnceAtTheStartOfTheJob)
{
    g_strSoftwarePassword = "1234";
    FakeJobContext context;
    WriteJob job{context};
    WriteBytes(context.TempParameterFilePath(),
               "[PARA]\r\n2=\"5\"\r\n[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
    job.Step(nullptr);
    const std::string ok = "OK";
    job.Step(&ok); // the login accepted: the job takes its entries
    WriteBytes(context.TempParameterFilePath(), "[ATCMD]\r\nAT+CCWA=\"0,0,7\"\r\n");
    job.Step(&ok);
    EXPECT_EQ(context.Sent(), (Strings{"AT+WPAR=9996,\"1234\"", "AT+WPAR=2,\"5\"", "AT+CCWA=1,1"}));
}

} // namespace
