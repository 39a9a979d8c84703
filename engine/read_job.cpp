#include "engine/read_job.h"

#include "engine/at_reply_store.h"
#include "engine/job_request.h"
#include "engine/job_steps.h"
#include "link/reply.h"
#include "link/terminal_commands.h"
#include "params/catalogue.h"
#include "params/ini_file.h"
#include "params/param_file.h"
#include "params/read_lists.h"
#include "params/text_value.h"
#include "platform/messages.h"
#include "platform/text_util.h"

using namespace platform;

namespace {

bool IsMarker(const std::string &entry)
{
    return entry == kReadBlockStart || entry == kReadBlockEnd;
}

// The value of an information line: the text after the first colon, leading
// blanks removed (the whole line, less leading blanks, without a colon).
std::string ValueAfterColon(const std::string &line)
{
    const size_t colon = line.find(':');
    const std::string_view rest = colon == std::string::npos
                                      ? std::string_view(line)
                                      : std::string_view(line).substr(colon + 1);
    return std::string(text::TrimLeadingBlanks(rest));
}

bool InEmptyTolerantRange(uint32_t number)
{
    // The forbidden list and the call back list: an empty entry inside them
    // does not end the list.
    return params::kForbiddenList.Contains(number) || params::kCallBackList.Contains(number);
}

} // namespace

ReadJob::ReadJob(IJobContext &context, const ReadLists &lists)
    : m_context(context), m_lists(lists), m_lastMarker(kReadBlockEnd)
{}

void ReadJob::Step(const std::string *line)
{
    if (!line) {
        Begin();
        return;
    }
    switch (m_phase) {
    case Phase::Start:
        break;
    case Phase::ReadingParameters:
        OnParameterLine(*line);
        break;
    case Phase::ReadingAtCommands:
        OnAtCommandLine(*line);
        break;
    }
}

void ReadJob::Abort()
{
    m_phase = Phase::Start;
    m_lastMarker = kReadBlockEnd;
    m_nextIndex = 0;
    m_entryCount = 0;
    m_sentCount = 0;
    m_currentEntry.clear();
    m_currentArgument.clear();
    m_lineLost = false;
}

void ReadJob::Begin()
{
    m_context.Sleep(kJobPauses.beforeFirstCommand);
    m_phase = Phase::ReadingParameters;
    m_nextIndex = 0;
    m_sentCount = 0;
    m_entryCount = m_lists.numbers.size();
    if (m_entryCount == 0)
        BeginAtCommands();
    else
        TakeEntries();
}

void ReadJob::OnParameterLine(const std::string &line)
{
    if (text::StartsWithNoCase(line, "+RPAR")) {
        Store(ValueAfterColon(line));
        return;
    }
    if (IsErrorReply(line)) {
        EndWithError(kStepParameters, text::LeadingNumber(m_currentEntry));
        m_sentCount = 0;
        return;
    }
    if (!IsFinalReply(line))
        return;
    // "OK"
    if (m_lineLost) {
        EndWithLostLine(kStepParameters, text::LeadingNumber(m_currentEntry));
        return;
    }
    if (m_nextIndex >= m_entryCount) {
        BeginAtCommands();
        return;
    }
    if (m_lastMarker == kReadBlockStart && m_continue == 0 && !SkipRestOfBlock())
        return;
    TakeEntries();
}

// Skips the entries up to and including the end marker. false when the list
// ended on the way (the AT-command phase has then begun).
bool ReadJob::SkipRestOfBlock()
{
    for (;;) {
        if (m_nextIndex >= m_entryCount) {
            BeginAtCommands();
            return false;
        }
        if (m_lists.numbers[m_nextIndex++] == kReadBlockEnd)
            break;
    }
    if (m_nextIndex >= m_entryCount) {
        BeginAtCommands();
        return false;
    }
    m_lastMarker = kReadBlockEnd;
    return true;
}

void ReadJob::TakeEntries()
{
    for (;;) {
        m_currentEntry = m_lists.numbers[m_nextIndex++];
        if (!IsMarker(m_currentEntry))
            break;
        if (m_nextIndex >= m_entryCount) {
            BeginAtCommands();
            return;
        }
        m_lastMarker = m_currentEntry;
    }
    if (!m_context.SetCommand(terminal::ReadParameterCommand(m_currentEntry))) {
        // A number too long for the command buffer cannot be read: the
        // terminal would have refused it.
        EndWithError(kStepParameters, text::LeadingNumber(m_currentEntry));
        m_sentCount = 0;
        return;
    }
    m_lineLost = false;
    m_context.SendCommand();
    ++m_sentCount;
    m_context.PostToOwner(WM_READ_PARA_PROGRESS_NOTIFY, kStepParameters, m_sentCount);
}

int ReadJob::Verdict(const std::string &value, const std::string &number, std::string &stored)
{
    if (!value.empty()) {
        if (params::IsBlankRecord(value)) {
            // Stored as it came; the block stops here.
            stored = '"' + value + '"';
            return 0;
        }
        if (value.find("EMPTY") == std::string::npos) {
            stored = '"' + value + '"';
            return 1;
        }
    }
    stored = "\"\"";
    return InEmptyTolerantRange(text::LeadingNumber(number)) ? 1 : 0;
}

void ReadJob::Store(const std::string &value)
{
    std::string stored;
    m_continue = Verdict(value, m_currentEntry, stored);
    CIniFile file(m_context.TempParameterFilePath());
    if (!file.WriteString(params::kParaSection, m_currentEntry, stored))
        EndWithStoreError(kStepParameters, text::LeadingNumber(m_currentEntry), file.LastError());
}

void ReadJob::BeginAtCommands()
{
    m_phase = Phase::ReadingAtCommands;
    m_nextIndex = 0;
    m_entryCount = m_lists.atCommands.size();
    if (m_entryCount == 0)
        EndWithSuccess();
    else
        SendQuery(0);
}

void ReadJob::OnAtCommandLine(const std::string &line)
{
    if (IsErrorReply(line)) {
        EndWithError(kStepAtCommands, static_cast<intptr_t>(m_nextIndex) - 1);
        return;
    }
    if (IsFinalReply(line)) {
        if (m_lineLost)
            EndWithLostLine(kStepAtCommands, static_cast<intptr_t>(m_nextIndex) - 1);
        else if (m_nextIndex < m_entryCount)
            SendQuery(m_nextIndex);
        else
            EndWithSuccess();
        return;
    }
    // "+CCFC" for "AT+CCFC": the information line of the query in flight.
    const std::string_view prefix =
        std::string_view(m_currentEntry).substr(std::min<size_t>(2, m_currentEntry.size()));
    if (!prefix.empty() && text::StartsWithNoCase(line, prefix)) {
        CIniFile file(m_context.TempParameterFilePath());
        if (!StoreAtReply(file, m_currentEntry, m_currentArgument, ValueAfterColon(line))) {
            EndWithStoreError(kStepAtCommands, static_cast<intptr_t>(m_nextIndex) - 1,
                              file.LastError());
        }
    }
}

void ReadJob::SendQuery(size_t index)
{
    m_currentEntry = m_lists.atCommands[index];
    m_currentArgument = m_lists.AtArgument(index);
    m_nextIndex = index + 1;
    if (!m_context.SetCommand(m_currentEntry + m_currentArgument)) {
        EndWithError(kStepAtCommands, static_cast<intptr_t>(index));
        return;
    }
    m_lineLost = false;
    m_context.SendCommand();
    m_context.PostToOwner(WM_READ_PARA_PROGRESS_NOTIFY, kStepAtCommands,
                          static_cast<intptr_t>(index + 1));
}

void ReadJob::Finish(const char *note)
{
    m_phase = Phase::Start;
    m_lastMarker = kReadBlockEnd;
    m_context.CompleteJob(note);
}

void ReadJob::EndWithSuccess()
{
    Finish("read finished");
    m_context.PostToOwner(WM_READ_PARA_OK_NOTIFY, kStepAtCommands, 0);
}

void ReadJob::EndWithError(uintptr_t kind, intptr_t item)
{
    Finish("read failed");
    m_context.PostToOwner(WM_READ_PARA_ERR_NOTIFY, kind, item);
    m_nextIndex = 0;
}

void ReadJob::EndWithLostLine(uintptr_t kind, intptr_t item)
{
    Finish("read failed");
    m_context.PostToOwner(WM_READ_PARA_LINE_LOST_NOTIFY, kind, item);
    m_nextIndex = 0;
}

void ReadJob::OnCut(JobCut cut)
{
    Finish(cut == JobCut::Stopped ? "read stopped" : "read ended, port lost");
    m_context.PostFailureToOwner(CutMessage(cut), {kJobRead, 0, {}, {}});
    m_nextIndex = 0;
}

// A value that cannot be stored would leave the pages with stale values under
// a success message: the read ends here, naming the file and the reason.
void ReadJob::EndWithStoreError(uintptr_t kind, intptr_t item, const std::string &reason)
{
    Finish("read failed");
    m_context.PostFailureToOwner(WM_READ_PARA_STORE_ERR_NOTIFY, {kind, item, reason});
    m_nextIndex = 0;
}
