// What each progress and result message of the jobs shows, in the three
// languages, and what follows it, against the reviewed dump in
// golden/job_reports.txt (golden_file.h tells how to rewrite it).

#include "engine/job_failure.h"
#include "engine/job_reports.h"
#include "params/language.h"
#include "platform/messages.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>

using namespace platform;
using Display = JobReport::Display;
using After = JobReport::After;

namespace {

struct Situation
{
    const char *name;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    const char *carried; // the text of a message that carries a failure
};

// clang-format off
const Situation kSituations[] = {
    {"ReadProgress", WM_READ_PARA_PROGRESS_NOTIFY, 3, 17, ""},
    {"ReadAtCommandProgress", WM_READ_PARA_PROGRESS_NOTIFY, 4, 2, ""},
    {"ReadProgressOddStep", WM_READ_PARA_PROGRESS_NOTIFY, 9, 2, ""},
    {"ReadFailsOnVolume", WM_READ_PARA_ERR_NOTIFY, 3, 16543, ""},
    {"ReadFailsOnForbiddenEntry", WM_READ_PARA_ERR_NOTIFY, 3, 3005, ""},
    {"ReadFailsOnCallBackEntry", WM_READ_PARA_ERR_NOTIFY, 3, 16212, ""},
    {"ReadFailsOnUnknownNumber", WM_READ_PARA_ERR_NOTIFY, 3, 2500, ""},
    {"ReadFailsOnAtQuery", WM_READ_PARA_ERR_NOTIFY, 4, 1, ""},
    {"ReadFailsOnAtQueryOutsideTheList", WM_READ_PARA_ERR_NOTIFY, 4, 7, ""},
    {"ReadFailsAtAnUnknownStep", WM_READ_PARA_ERR_NOTIFY, 9, 5, ""},
    {"ReadSucceeds", WM_READ_PARA_OK_NOTIFY, 4, 0, ""},
    {"ReadLineLost", WM_READ_PARA_LINE_LOST_NOTIFY, 3, 16543, ""},
    {"ReadNotStored", WM_READ_PARA_STORE_ERR_NOTIFY, 3, 2,
     "Cannot write \"/x/COM1ParaFile.ini\": No space left on device"},
    {"ReadNotStoredAtTheAtCommands", WM_READ_PARA_STORE_ERR_NOTIFY, 4, 0, "why"},
    {"WriteParameterProgress", WM_WRITE_PARA_PROGRESS_NOTIFY, 3, 2, ""},
    {"WriteAtCommandProgress", WM_WRITE_PARA_PROGRESS_NOTIFY, 4, 1, ""},
    {"WriteSaveProgress", WM_WRITE_PARA_PROGRESS_NOTIFY, 5, 0, ""},
    {"WriteProgressOfTheStoreShowsNothing", WM_WRITE_PARA_PROGRESS_NOTIFY, 7, 0, ""},
    {"WriteSaved", WM_WRITE_PARA_OK_NOTIFY, 5, 0, ""},
    {"WriteStepDone", WM_WRITE_PARA_OK_NOTIFY, 6, 0, ""},
    {"WriteEnds", WM_WRITE_PARA_OK_NOTIFY, 7, 0, ""},
    // A refused entry or save: the job still ends its transaction, so the
    // operations stay disabled until its last message.
    {"GeneralPasswordRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 1, "AT+WPAR=32,\"123456\""},
    {"PinCheckRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 4, "AT+WPAR=16553,\"4711\""},
    {"TxLevelRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 1, "AT+WPAR=1504,\"16\""},
    {"PinChangeRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 2, "AT+WPAR=16548,\"1\",\"2\""},
    {"PinLockRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 2, "AT+WPAR=16549,\"4711\""},
    // Only the number as written names a special refusal.
    {"GeneralPasswordNumberWithALeadingZero", WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 1, "AT+WPAR=032,\"1\""},
    {"OtherParameterRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 3, 2, "AT+WPAR=16544,\"16\""},
    {"AtCommandRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 4, 3, "AT+CCFC=2,3,\"555\",129,7,,,20"},
    {"UnknownAtCommandRefused", WM_WRITE_PARA_LINE_ERR_NOTIFY, 4, 1, "AT+CLIR=1"},
    {"WritePasswordRefused", WM_WRITE_PARA_ERR_NOTIFY, 1, 0, ""},
    {"SaveRefused", WM_WRITE_PARA_ERR_NOTIFY, 5, 0, ""},
    {"TransactionEndRefused", WM_WRITE_PARA_ERR_NOTIFY, 6, 0, ""},
    {"StoreRefused", WM_WRITE_PARA_ERR_NOTIFY, 7, 0, ""},
    {"ReadStoppedByTheUser", WM_JOB_STOPPED_NOTIFY, 1, 0, ""},
    {"WriteStoppedByTheUser", WM_JOB_STOPPED_NOTIFY, 2, 0, ""},
    {"PasswordChanged", WM_MODIFY_PWD_OK_NOTIFY, 2, 0, ""},
    {"PasswordJobEnds", WM_MODIFY_PWD_OK_NOTIFY, 3, 0, ""},
    {"OldPasswordRefused", WM_MODIFY_PWD_ERR_NOTIFY, 1, 0, ""},
    // A refused change still ends the transaction: the port stays open for that answer.
    {"PasswordChangeRefused", WM_MODIFY_PWD_ERR_NOTIFY, 2, 0, ""},
    {"PasswordEndRefused", WM_MODIFY_PWD_ERR_NOTIFY, 3, 0, ""},
    {"PasswordOddStep", WM_MODIFY_PWD_ERR_NOTIFY, 8, 0, ""},
};
// clang-format on

// One line per situation and language: what is shown, how, and what follows.
std::string Line(const Situation &s, int language)
{
    static const char *const kDisplays[] = {"none", "status", "box"};
    static const char *const kAfters[] = {"nothing", "end-of-read", "end-of-write", "close-port",
                                          "password-changed"};
    static const char *const kLanguages[] = {"", "en", "pt", "es"};
    lang::SetCode(language);
    const std::vector<std::string> atNames = {"Call Waiting 0495", "Alterar data e hora 0801&0802"};
    JobFailure failure{s.wParam, s.lParam, s.carried};
    const JobReport report =
        CarriesJobFailure(s.message)
            ? DescribeJobMessage(s.message, reinterpret_cast<uintptr_t>(&failure), 0, atNames)
            : DescribeJobMessage(s.message, s.wParam, s.lParam, atNames);
    lang::SetCode(lang::kEnglish);
    std::ostringstream line;
    line << s.name << '\t' << kLanguages[language] << '\t' << kDisplays[int(report.display)]
         << (report.ok ? " ok" : " failed") << " style=" << report.boxStyle
         << (report.failure ? " failure" : "") << " page=" << report.showPage
         << " after=" << kAfters[int(report.after)] << (report.jobEnded ? " ended" : "") << '\t'
         << '"' << OneLine(report.text) << '"';
    return line.str();
}

TEST(JobReports, AsTheDumpSays)
{
    std::vector<std::string> lines;
    for (const Situation &situation : kSituations)
        for (int language : {lang::kEnglish, lang::kPortuguese, lang::kSpanish})
            lines.push_back(Line(situation, language));
    ExpectGolden(KESTREL_ENGINE_GOLDEN_DIR "/job_reports.txt", lines);
}

TEST(JobReportsLanguage, AFailureMessageWithoutItsFailureShowsNothing)
{
    for (const uint32_t message : {WM_WRITE_PARA_LINE_ERR_NOTIFY, WM_JOB_PORT_LOST_NOTIFY})
        EXPECT_EQ(DescribeJobMessage(message, 0, 0, {}).display, Display::None) << message;
}

TEST(JobReportsLanguage, NoTextForAnUnknownLanguageButTheFailureStands)
{
    lang::SetCode(9);
    const JobReport report = DescribeJobMessage(WM_READ_PARA_ERR_NOTIFY, 3, 5, {});
    lang::SetCode(lang::kEnglish);
    EXPECT_EQ(report.display, Display::None);
    EXPECT_TRUE(report.failure);
    EXPECT_EQ(report.after, After::EndOfRead);
}

} // namespace
