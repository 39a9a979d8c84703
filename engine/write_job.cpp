#include "engine/write_job.h"

#include "engine/at_reply_store.h"
#include "engine/engine_globals.h"
#include "engine/job_request.h"
#include "engine/job_steps.h"
#include "link/reply.h"
#include "link/terminal_commands.h"
#include "params/catalogue.h"
#include "params/ini_document.h"
#include "params/param_file.h"
#include "platform/messages.h"

#include <string_view>

using namespace platform;

namespace {

constexpr const char *kClosedAfterWriting = "comm closed after writing\n\n";
constexpr const char *kClosedAfterHangUp =
    "comm closed: the terminal was disconnected while writing\n\n";
constexpr const char *kClosedWhenStopped = "comm closed: the write was stopped by the user\n\n";

// The PIN entries are told by their whole key: 116550 is no PIN entry.
bool IsKey(const std::string *key, uint16_t number)
{
    return key && *key == std::to_string(number);
}

void LoadSection(const params::IniDocument &file, std::string_view section,
                 std::vector<std::string> &keys, std::vector<std::string> &values)
{
    keys.clear();
    values.clear();
    file.GetKeys(section, keys);
    for (const std::string &key : keys)
        values.push_back(file.GetString(section, key, ""));
}

} // namespace

void WriteJob::Abort()
{
    m_step = kStepNone;
    m_keys.clear();
    m_values.clear();
    m_atKeys.clear();
    m_atValues.clear();
    m_entryIndex = 0;
    m_lineInFlight.clear();
    m_pinFollowUpPending = 0;
    m_pinFollowUpCheck = 0;
    m_pinFollowUpRepeats = 0;
    m_account = {};
    m_failed = false;
}

void WriteJob::Step(const std::string *line)
{
    if (!line) {
        if (m_step == kStepNone) {
            m_context.Sleep(kJobPauses.beforeFirstCommand);
            m_step = kStepLogin;
            if (BuildLine(terminal::LoginCommand(g_strSoftwarePassword)))
                m_context.SendCommand();
            else
                OnLogin(true);
        }
        return;
    }
    // Echoes, information and unsolicited lines are not the answer.
    if (!IsFinalReply(*line))
        return;
    const bool error = IsErrorReply(*line);
    switch (m_step) {
    case kStepLogin:
        OnLogin(error);
        break;
    case kStepParameters:
        OnParameterReply(error);
        break;
    case kStepAtCommands:
        OnAtCommandReply(error);
        break;
    case kStepSave:
        OnSaveReply(error);
        break;
    case kStepTransactionEnd:
        OnEndReply(error);
        break;
    case kStepStore:
        OnFinalReply(error);
        break;
    default:
        break;
    }
}

void WriteJob::Finish(uint32_t message, uintptr_t step, bool closePort)
{
    m_step = kStepNone;
    m_context.CompleteJob("write finished");
    // Ahead of the last message, so that it is shown with the job's result.
    if ((m_failed || message == WM_WRITE_PARA_ERR_NOTIFY) && step != kStepLogin)
        m_context.PostFailureToOwner(WM_WRITE_PARA_ACCOUNT_NOTIFY, {kJobWrite, 0, {}, m_account});
    m_context.PostToOwner(message, step, 0);
    if (closePort) {
        m_context.ClosePort();
        m_context.LogNote(step == kStepLogin
                              ? "comm closed because of software password error while writing\n\n"
                              : kClosedAfterWriting);
    }
}

void WriteJob::OnLogin(bool error)
{
    if (error) {
        Finish(WM_WRITE_PARA_ERR_NOTIFY, kStepLogin, true);
        return;
    }
    LoadFile();
    m_account = {};
    m_account.parameters = m_keys.size();
    m_account.atCommands = m_atKeys.size();
    m_entryIndex = 0;
    m_step = kStepParameters;
    if (m_keys.empty())
        BeginAtCommands();
    else
        SendEntry();
}

// Both sections at once: the file is read and parsed once per job, however
// many entries it has. An unreadable file reads as an empty one.
void WriteJob::LoadFile()
{
    params::IniDocument file;
    file.Load(m_context.TempParameterFilePath());
    LoadSection(file, params::kParaSection, m_keys, m_values);
    LoadSection(file, params::kAtcmdSection, m_atKeys, m_atValues);
}

const std::string *WriteJob::PreviousKey() const
{
    return m_entryIndex >= 1 && m_entryIndex - 1 < m_keys.size() ? &m_keys[m_entryIndex - 1]
                                                                 : nullptr;
}

const std::string *WriteJob::NextKey() const
{
    return m_entryIndex < m_keys.size() ? &m_keys[m_entryIndex] : nullptr;
}

// Sends the "PARA" entry at the entry index. An entry too long for the
// command buffer is not sent and counts as refused.
void WriteJob::SendEntry()
{
    const size_t index = m_entryIndex++;
    if (!BuildLine(terminal::WriteParameterCommand(m_keys[index], m_values[index]))) {
        OnParameterRefused();
        return;
    }
    m_context.SendCommand();
    m_context.PostToOwner(WM_WRITE_PARA_PROGRESS_NOTIFY, kStepParameters,
                          static_cast<intptr_t>(index + 1));
}

void WriteJob::SendNextOrBeginAtCommands()
{
    if (m_entryIndex < m_keys.size())
        SendEntry();
    else
        BeginAtCommands();
}

void WriteJob::SendPinFollowUp(uint16_t number)
{
    if (BuildLine(
            terminal::WriteParameterCommand(std::to_string(number), params::kPinFollowUpCode)))
        m_context.SendCommand();
}

bool WriteJob::BuildLine(std::string line)
{
    m_lineInFlight = std::move(line);
    return m_context.SetCommand(m_lineInFlight);
}

// Goes on with the save and reports the refused line with the entry's
// position (the entry index).
void WriteJob::ReportRefusedLine(uintptr_t step)
{
    StopAccountAt(step == kStepParameters ? WriteAccount::Section::Parameters
                                          : WriteAccount::Section::AtCommands,
                  WriteAccount::Stop::Refused);
    JobFailure failure{step, static_cast<intptr_t>(m_entryIndex), m_lineInFlight};
    m_step = kStepSave;
    SendSave();
    m_context.PostFailureToOwner(WM_WRITE_PARA_LINE_ERR_NOTIFY, std::move(failure));
    m_entryIndex = 0;
}

void WriteJob::OnParameterReply(bool error)
{
    if (error) {
        if (m_pinFollowUpPending && ++m_pinFollowUpRepeats <= kMaxPinFollowUpRepeats) {
            m_context.Sleep(kJobPauses.afterPinEntry);
            SendPinFollowUp(params::kPinFollowUpNumber);
            return;
        }
        m_pinFollowUpPending = 0;
        OnParameterRefused();
        return;
    }
    OnParameterAccepted();
}

void WriteJob::OnParameterRefused()
{
    if (IsKey(PreviousKey(), params::kPinStartUpNumber)) {
        // A PIN the terminal does not take is not a failure of the job.
        if (IsKey(NextKey(), params::kPinCheckOffNumber))
            ++m_entryIndex;
        m_pinRefused = true;
        SendNextOrBeginAtCommands();
        return;
    }
    ReportRefusedLine(kStepParameters);
}

void WriteJob::OnParameterAccepted()
{
    if (m_entryIndex >= m_keys.size()) {
        BeginAtCommands();
        return;
    }
    const std::string *previous = PreviousKey();
    if (m_pinFollowUpPending) {
        SendPinFollowUp(params::kPinFollowUpCheckNumber);
        m_pinFollowUpPending = 0;
        m_pinFollowUpCheck = 1;
        return;
    }
    if (m_pinFollowUpCheck) {
        m_pinFollowUpCheck = 0;
        if (!m_pinRefused && IsKey(previous, params::kPinChangeNumber))
            ++m_entryIndex;
        SendNextOrBeginAtCommands();
        return;
    }
    if (IsKey(previous, params::kPinStartUpNumber)) {
        if (IsKey(NextKey(), params::kPinCheckOnNumber))
            ++m_entryIndex;
        m_pinRefused = false;
        SendNextOrBeginAtCommands();
        return;
    }
    if (IsKey(previous, params::kPinCheckOnNumber) || IsKey(previous, params::kPinCheckOffNumber) ||
        (IsKey(previous, params::kPinChangeNumber) && !m_pinRefused)) {
        m_context.Sleep(kJobPauses.afterPinEntry);
        m_pinFollowUpRepeats = 0;
        SendPinFollowUp(params::kPinFollowUpNumber);
        m_pinFollowUpPending = 1;
        return;
    }
    if (IsKey(previous, params::kPinChangeNumber))
        m_context.Sleep(kJobPauses.afterPinEntry);
    SendNextOrBeginAtCommands();
}

void WriteJob::BeginAtCommands()
{
    m_account.parametersTaken = m_account.parameters;
    m_entryIndex = 0;
    m_keys = std::move(m_atKeys);
    m_values = std::move(m_atValues);
    m_atKeys.clear();
    m_atValues.clear();
    if (!m_keys.empty()) {
        m_step = kStepAtCommands;
        m_atPhase = 1;
        SendAtEntry();
    } else {
        m_step = kStepSave;
        SendSave();
        m_atPhase = 0;
    }
}

void WriteJob::SendAtEntry()
{
    const size_t index = m_entryIndex++;
    if (!BuildLine(AtCommandText(m_keys[index], m_values[index]))) {
        OnAtCommandReply(true);
        return;
    }
    m_context.SendCommand();
    m_context.PostToOwner(WM_WRITE_PARA_PROGRESS_NOTIFY, kStepAtCommands,
                          static_cast<intptr_t>(index + 1));
}

void WriteJob::SendSave()
{
    BuildLine(std::string(terminal::kSaveCommand));
    m_context.SendCommand();
    m_context.PostToOwner(WM_WRITE_PARA_PROGRESS_NOTIFY, kStepSave, 0);
}

void WriteJob::SendTransactionEnd()
{
    if (BuildLine(std::string(terminal::kEndTransactionCommand)))
        m_context.SendCommand();
}

void WriteJob::OnAtCommandReply(bool error)
{
    if (error) {
        ReportRefusedLine(kStepAtCommands);
        return;
    }
    if (m_entryIndex < m_keys.size()) {
        SendAtEntry();
        return;
    }
    m_account.atCommandsTaken = m_account.atCommands;
    m_entryIndex = 0;
    m_step = kStepSave;
    SendSave();
}

void WriteJob::OnSaveReply(bool error)
{
    m_account.saved = error ? WriteAccount::Saved::No : WriteAccount::Saved::Yes;
    m_failed = m_failed || error;
    if (!error)
        m_entryIndex = 0;
    m_step = kStepTransactionEnd;
    SendTransactionEnd();
    m_context.PostToOwner(error ? WM_WRITE_PARA_ERR_NOTIFY : WM_WRITE_PARA_OK_NOTIFY, kStepSave, 0);
}

void WriteJob::OnEndReply(bool error)
{
    if (error) {
        Finish(WM_WRITE_PARA_ERR_NOTIFY, kStepTransactionEnd, true);
        return;
    }
    m_step = kStepStore;
    BuildLine(std::string(terminal::kStoreCommand));
    if (m_atPhase == 1) {
        // The terminal needs a moment after supplementary-service changes.
        m_context.PauseForDevice();
        m_context.SendCommand();
        m_context.PostToOwner(WM_WRITE_PARA_OK_NOTIFY, kStepTransactionEnd, 0);
        m_context.PostToOwner(WM_WRITE_PARA_PROGRESS_NOTIFY, kStepStore, 0);
    } else {
        m_entryIndex = 0;
        m_context.Sleep(kJobPauses.beforeStore);
        m_context.SendCommand();
        m_context.PostToOwner(WM_WRITE_PARA_OK_NOTIFY, kStepTransactionEnd, 0);
    }
}

void WriteJob::OnFinalReply(bool error)
{
    m_entryIndex = 0;
    Finish(error ? WM_WRITE_PARA_ERR_NOTIFY : WM_WRITE_PARA_OK_NOTIFY, kStepStore, true);
}

// The entry at the entry index is the one in flight (or refused); those
// before it went through.
void WriteJob::StopAccountAt(WriteAccount::Section section, WriteAccount::Stop stop)
{
    m_failed = true;
    const size_t taken = m_entryIndex > 0 ? m_entryIndex - 1 : 0;
    (section == WriteAccount::Section::Parameters ? m_account.parametersTaken
                                                  : m_account.atCommandsTaken) = taken;
    m_account.stoppedIn = section;
    m_account.stop = stop;
}

void WriteJob::OnCut(JobCut cut)
{
    switch (m_step) {
    case kStepParameters:
        StopAccountAt(WriteAccount::Section::Parameters, WriteAccount::Stop::Unanswered);
        break;
    case kStepAtCommands:
        StopAccountAt(WriteAccount::Section::AtCommands, WriteAccount::Stop::Unanswered);
        break;
    case kStepSave:
        m_account.saved = WriteAccount::Saved::Unknown;
        break;
    default:
        break; // before the login's answer nothing was written; after the save's, it is known
    }
    m_step = kStepNone;
    // The port is closed before anyone hears of the end, so that the next
    // operation finds it closed.
    m_context.ClosePort();
    m_context.LogNote(cut == JobCut::Stopped ? kClosedWhenStopped : kClosedAfterHangUp);
    m_context.CompleteJob(cut == JobCut::Stopped ? "write stopped" : "write ended, port lost");
    m_context.PostFailureToOwner(CutMessage(cut), {kJobWrite, 0, {}, m_account});
}
