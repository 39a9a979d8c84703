// The write job fed an arbitrary temporary parameter file and arbitrary reply
// lines (through the line builder, as the window receives them). Whatever
// the terminal says, each run begins with the password line, sends only the
// file's entries (in file order, each built from the entry) and the lines of
// the transaction, one command per reply, "AT&W" only after the transaction
// ended, and nothing after a refused password or after the run ended.

#include "engine/at_reply_store.h"
#include "engine/engine_globals.h"
#include "engine/write_job.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/job_runs.h"
#include "params/ini_file.h"
#include "params/param_file.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>
#include <map>
#include <string>
#include <vector>

using Event = FakeJobContext::Event;

namespace {

const std::string kLogin = "AT+WPAR=9996,\"1234\"";
const std::string kSave = "AT+WPAR=9999";
const std::string kEnd = "AT+WPAR=9995";
const std::string kStore = "AT&W";

// Every line the job may send, with the positions of the "PARA" entries it
// stands for; -1 marks a line of the transaction, sent at any time.
using AllowedLines = std::map<std::string, std::vector<long>>;

AllowedLines LinesOf(const std::string &path)
{
    AllowedLines allowed;
    for (const std::string &line :
         {kLogin, kSave, kEnd, kStore, std::string("AT+WPAR=16552,\"4711\""),
          std::string("AT+WPAR=16553,\"4711\"")})
        allowed[line].push_back(-1);
    const CIniFile file(path);
    std::vector<std::string> keys;
    file.GetKeys(params::kParaSection, keys);
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::string value = file.GetString(params::kParaSection, keys[i], "");
        allowed["AT+WPAR=" + keys[i] + ",\"" + value + "\""].push_back(static_cast<long>(i));
    }
    file.GetKeys(params::kAtcmdSection, keys);
    for (const std::string &key : keys)
        allowed[AtCommandText(key, file.GetString(params::kAtcmdSection, key, ""))].push_back(-1);
    return allowed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    g_strSoftwarePassword = "1234";
    FuzzedDataProvider input(data, size);
    const std::string fileBytes = input.ConsumeRandomLengthString(4096);
    const std::string replies = input.ConsumeRemainingBytesAsString();

    FakeJobContext context;
    WriteBytes(context.TempParameterFilePath(), fileBytes);
    const AllowedLines allowed = LinesOf(context.TempParameterFilePath());

    WriteJob job(context);
    JobRuns<WriteJob> runs(job, context, [&] {
        const std::vector<std::string> sent = context.Sent();
        FUZZ_CHECK(!sent.empty() && sent.back() == kLogin);
    });
    runs.Feed(replies);

    // Over each run: the lines come from the file in file order, "AT&W"
    // follows the end of the transaction, a closed port ends the run.
    long lastEntry = -1;
    std::string previous;
    bool closed = false;
    for (const Event &e : context.events) {
        if (e.kind == Event::Closed)
            closed = true;
        if (e.kind != Event::Sent)
            continue;
        if (e.text == kLogin) { // a new run
            closed = false;
            lastEntry = -1;
        }
        FUZZ_CHECK(!closed);
        const auto it = allowed.find(e.text);
        FUZZ_CHECK(it != allowed.end());
        const std::vector<long> &positions = it->second;
        if (std::find(positions.begin(), positions.end(), -1) == positions.end()) {
            const auto later = std::upper_bound(positions.begin(), positions.end(), lastEntry);
            FUZZ_CHECK(later != positions.end());
            lastEntry = *later;
        }
        if (e.text == kStore)
            FUZZ_CHECK(previous == kEnd);
        previous = e.text;
    }
    return 0;
}
