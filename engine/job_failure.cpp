#include "engine/job_failure.h"

#include "platform/message_queue.h"
#include "platform/messages.h"

bool CarriesJobFailure(uint32_t message)
{
    return message == platform::WM_READ_PARA_STORE_ERR_NOTIFY ||
           message == platform::WM_WRITE_PARA_LINE_ERR_NOTIFY ||
           message == platform::WM_WRITE_PARA_ACCOUNT_NOTIFY ||
           message == platform::WM_JOB_PORT_LOST_NOTIFY ||
           message == platform::WM_JOB_STOPPED_NOTIFY;
}

uint32_t CutMessage(JobCut cut)
{
    return cut == JobCut::Stopped ? platform::WM_JOB_STOPPED_NOTIFY
                                  : platform::WM_JOB_PORT_LOST_NOTIFY;
}

void DisposeJobMessage(uint32_t message, uintptr_t wParam)
{
    if (CarriesJobFailure(message))
        platform::TakeOwned<JobFailure>(wParam);
}
