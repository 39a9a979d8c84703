// What each progress and result message of the jobs shows, in the three
// languages, and what follows it, against the reviewed transcript
// golden/job_reports.txt (golden_file.h tells how to rewrite it).

#include "engine/job_failure.h"
#include "engine/job_reports.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "platform/messages.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

using namespace platform;

namespace {

// The messages by the names the transcript gives them.
#define KESTREL_MESSAGE(name) std::pair<const std::string, uint32_t>(#name, name)
const std::map<std::string, uint32_t> kMessages = {
    KESTREL_MESSAGE(WM_READ_PARA_PROGRESS_NOTIFY),  KESTREL_MESSAGE(WM_READ_PARA_ERR_NOTIFY),
    KESTREL_MESSAGE(WM_READ_PARA_OK_NOTIFY),        KESTREL_MESSAGE(WM_READ_PARA_LINE_LOST_NOTIFY),
    KESTREL_MESSAGE(WM_READ_PARA_STORE_ERR_NOTIFY), KESTREL_MESSAGE(WM_WRITE_PARA_PROGRESS_NOTIFY),
    KESTREL_MESSAGE(WM_WRITE_PARA_OK_NOTIFY),       KESTREL_MESSAGE(WM_WRITE_PARA_LINE_ERR_NOTIFY),
    KESTREL_MESSAGE(WM_WRITE_PARA_ERR_NOTIFY),      KESTREL_MESSAGE(WM_JOB_STOPPED_NOTIFY),
    KESTREL_MESSAGE(WM_JOB_PORT_LOST_NOTIFY),       KESTREL_MESSAGE(WM_MODIFY_PWD_OK_NOTIFY),
    KESTREL_MESSAGE(WM_MODIFY_PWD_ERR_NOTIFY)};
#undef KESTREL_MESSAGE

// What a message line shows in each language: how, and what follows.
std::vector<std::string> Reports(const std::string &line,
                                 std::initializer_list<int> languages = {
                                     lang::kEnglish, lang::kPortuguese, lang::kSpanish})
{
    static const char *const kDisplays[] = {"none", "status", "box"};
    static const char *const kAfters[] = {"nothing", "end-of-read", "end-of-write", "close-port",
                                          "password-changed"};
    static const char *const kLanguages[] = {"none", "en", "pt", "es"};
    std::istringstream in(line);
    std::string name, carried;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    in >> name >> wParam >> lParam;
    std::getline(in >> std::ws, carried);
    const uint32_t message = kMessages.at(name);
    const std::vector<std::string> atNames = {"Call Waiting 0495", "Alterar data e hora 0801&0802"};
    JobFailure failure{wParam, lParam, carried};
    std::vector<std::string> lines;
    for (int language : languages) {
        lang::SetCode(language);
        const JobReport report =
            CarriesJobFailure(message) && carried != "(none)"
                ? DescribeJobMessage(message, reinterpret_cast<uintptr_t>(&failure), 0, atNames)
                : DescribeJobMessage(message, wParam, lParam, atNames);
        std::ostringstream shown;
        shown << kLanguages[language] << ' ' << kDisplays[int(report.display)]
              << (report.ok ? " ok" : " failed") << " style=" << report.boxStyle
              << (report.failure ? " failure" : "") << " page=" << report.showPage
              << " after=" << kAfters[int(report.after)] << (report.jobEnded ? " ended" : "")
              << " \"" << OneLine(report.text) << '"';
        lines.push_back(shown.str());
    }
    lang::SetCode(lang::kEnglish);
    return lines;
}

TEST(JobReports, AsTheTranscriptSays)
{
    g_strPortName = "ttyUSB0";
    ExpectTranscript(
        KESTREL_ENGINE_GOLDEN_DIR "/job_reports.txt",
        [](const std::string &line) {
            if (line.starts_with("no language ")) // a language code outside 1..3
                return Reports(line.substr(12), {0});
            return line.starts_with("WM_") ? Reports(line) : std::vector<std::string>{};
        },
        NoResults);
}

} // namespace
