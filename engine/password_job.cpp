#include "engine/password_job.h"

#include "engine/engine_globals.h"
#include "engine/job_request.h"
#include "engine/job_steps.h"
#include "link/reply.h"
#include "link/terminal_commands.h"
#include "platform/messages.h"

using namespace platform;

void ModifyPasswordJob::SendLine(const std::string &text)
{
    if (m_context.SetCommand(text))
        m_context.SendCommand();
}

void ModifyPasswordJob::Fail(uintptr_t step, const char *note)
{
    m_step = kStepNone;
    m_context.CompleteJob("password change failed");
    m_context.ClosePort();
    m_context.LogNote(note);
    m_context.PostToOwner(WM_MODIFY_PWD_ERR_NOTIFY, step, 0);
}

void ModifyPasswordJob::OnCut(JobCut cut)
{
    m_step = kStepNone;
    m_context.ClosePort();
    m_context.LogNote(
        cut == JobCut::Stopped
            ? "com closed because the password change was stopped by the user!\n\n"
            : "com closed because the terminal was disconnected while changing password!\n\n");
    m_context.CompleteJob(cut == JobCut::Stopped ? "password change stopped"
                                                 : "password change ended, port lost");
    m_context.PostFailureToOwner(CutMessage(cut), {kJobModifyPassword, 0, {}, {}});
}

void ModifyPasswordJob::Step(const std::string *line)
{
    if (!line) {
        if (m_step == kStepNone) {
            m_step = kStepLogin;
            SendLine(terminal::LoginCommand(g_strSoftwarePassword));
        }
        return;
    }
    if (!IsFinalReply(*line))
        return;
    const bool error = IsErrorReply(*line);
    switch (m_step) {
    case kStepLogin:
        if (error) {
            Fail(kStepLogin,
                 "com closed because software password isn`t correct while changing password!\n\n");
            return;
        }
        m_step = kStepNewPassword;
        SendLine(terminal::ChangePasswordCommand(g_strSoftwarePassword, g_strNewPassword));
        return;
    case kStepNewPassword:
        m_step = kStepPasswordEnd;
        SendLine(std::string(terminal::kEndTransactionCommand));
        m_context.PostToOwner(error ? WM_MODIFY_PWD_ERR_NOTIFY : WM_MODIFY_PWD_OK_NOTIFY,
                              kStepNewPassword, 0);
        return;
    case kStepPasswordEnd:
        if (error) {
            Fail(kStepPasswordEnd, "com closed because of ending writing operation error while "
                                   "changing password!\n\n");
            return;
        }
        m_step = kStepNone;
        m_context.CompleteJob("password changed");
        m_context.PostToOwner(WM_MODIFY_PWD_OK_NOTIFY, kStepPasswordEnd, 0);
        return;
    default:
        return;
    }
}
