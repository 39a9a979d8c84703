#include "engine/password_job.h"

#include "engine/engine_globals.h"
#include "engine/job_request.h"
#include "link/reply.h"
#include "platform/messages.h"

using namespace platform;

namespace {
std::string Quoted(const std::string &text) { return '"' + text + '"'; }
} // namespace

void CModifyPasswordJob::SendLine(const std::string &text)
{
    if (m_context.SetCommand(text))
        m_context.SendCommand();
}

void CModifyPasswordJob::Fail(uintptr_t step, const char *note)
{
    m_step = 0;
    m_context.CompleteJob("password change failed");
    m_context.ClosePort();
    m_context.LogNote(note);
    m_context.PostToOwner(WM_MODIFY_PWD_ERR_NOTIFY, step, 0);
}

void CModifyPasswordJob::OnCut(JobCut cut)
{
    m_step = 0;
    m_context.ClosePort();
    m_context.LogNote(cut == JobCut::Stopped
                          ? "com closed because the password change was stopped by the user!\n\n"
                          : "com closed because the terminal was disconnected while changing password!\n\n");
    m_context.CompleteJob(cut == JobCut::Stopped ? "password change stopped"
                                                 : "password change ended, port lost");
    m_context.PostFailureToOwner(CutMessage(cut), {kJobModifyPassword, 0, {}, {}});
}

void CModifyPasswordJob::Step(const std::string *line)
{
    if (!line) {
        if (m_step == 0) {
            m_step = 1;
            SendLine("AT+WPAR=9996," + Quoted(g_strSoftwarePassword));
        }
        return;
    }
    if (!IsFinalReply(*line))
        return;
    const bool error = IsErrorReply(*line);
    switch (m_step) {
    case 1:
        if (error) {
            Fail(1, "com closed because software password isn`t correct while changing password!\n\n");
            return;
        }
        m_step = 2;
        SendLine("AT+WPAR=1," + Quoted(g_strSoftwarePassword) + "," + Quoted(g_strNewPassword) + ","
                 + Quoted(g_strNewPassword));
        return;
    case 2:
        m_step = 3;
        SendLine("AT+WPAR=9995");
        m_context.PostToOwner(error ? WM_MODIFY_PWD_ERR_NOTIFY : WM_MODIFY_PWD_OK_NOTIFY, 2, 0);
        return;
    case 3:
        if (error) {
            Fail(3, "com closed because of ending writing operation error while changing password!\n\n");
            return;
        }
        m_step = 0;
        m_context.CompleteJob("password changed");
        m_context.PostToOwner(WM_MODIFY_PWD_OK_NOTIFY, 3, 0);
        return;
    default:
        return;
    }
}
