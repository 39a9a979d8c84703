// How a parameter file is laid beside what a read returned, against the
// reviewed transcript golden/verify_reports.txt (golden_file.h tells how to
// rewrite it).

#include "cli/verify_report.h"
#include "params/language.h"
#include "params/read_lists.h"
#include "tests/common/golden_file.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

params::IniDocument Document(const std::string &line)
{
    params::IniDocument document;
    document.Parse(Unescape(line.substr(line.find(' ') + 1)));
    return document;
}

std::string Keys(const char *what, const std::vector<VerifyEntry> &entries)
{
    std::string keys = what;
    for (const VerifyEntry &entry : entries)
        keys += " " + entry.key;
    return keys;
}

TEST(VerifyReports, AsTheTranscriptSays)
{
    std::string terminal, file;
    bool forward = false;
    int language = lang::kEnglish;
    const auto take = [&](const std::string &line) {
        if (line.starts_with("terminal "))
            terminal = line;
        else if (line.starts_with("file "))
            file = line;
        else if (line == "forward")
            forward = true;
        else if (line.starts_with("language "))
            language = std::stoi(line.substr(9));
        return std::vector<std::string>{};
    };
    const auto compare = [&] {
        if (file.empty())
            return std::vector<std::string>{};
        // What `kestrel-cli read` asks for: every page, with or without forwarding.
        ReadLists lists;
        for (size_t page = 0; page < params::kPageCount; ++page)
            params::AppendPageReadItems(static_cast<params::Page>(page), lists,
                                        {forward, forward, forward});
        lang::SetCode(language);
        const VerifyResult result = CompareWithFile(Document(terminal), lists, Document(file));
        std::ostringstream out;
        PrintVerifyReport(result, out);
        lang::SetCode(lang::kEnglish);
        std::vector<std::string> results = {Keys("differ", result.differences),
                                            Keys("not verifiable", result.notVerifiable)};
        std::istringstream report(out.str());
        for (std::string printed; std::getline(report, printed);)
            results.push_back("| " + printed);
        file.clear();
        forward = false;
        language = lang::kEnglish;
        return results;
    };
    ExpectTranscript(KESTREL_CLI_GOLDEN_DIR "/verify_reports.txt", take, compare);
}

} // namespace
