#include "engine/engine_globals.h"
#include "engine/job_reports.h"
#include "engine/password_job.h"
#include "job_driver.h"
#include "platform/messages.h"
#include "tests/common/case_name.h"

#include <gtest/gtest.h>

using namespace platform;
using Strings = std::vector<std::string>;
using Params = FakeJobContext::Params;
using After = JobReport::After;

namespace {

struct PasswordCase
{
    const char *name;
    std::string refused; // the line the terminal refuses, "" for none
    Params errors;       // WM_MODIFY_PWD_ERR_NOTIFY postings
    Strings sent;
    bool adopted; // the new password becomes the one in use
};

class PasswordJob : public ::testing::TestWithParam<PasswordCase>
{
protected:
    void SetUp() override
    {
        g_strSoftwarePassword = "1234";
        g_strNewPassword = "98765";
    }
};

TEST_P(PasswordJob, EndsTheTransactionItOpenedAndLetsThePortGo)
{
    const PasswordCase &c = GetParam();
    FakeJobContext context;
    ModifyPasswordJob job(context);
    Drive(job, context, RefuseOnly({c.refused}));

    EXPECT_EQ(context.Sent(), c.sent);
    EXPECT_EQ(context.Posted(WM_MODIFY_PWD_ERR_NOTIFY), c.errors);
    EXPECT_TRUE(context.Has(FakeJobContext::Event::Completed));
    EXPECT_EQ(job.CurrentStep(), 0);
    // The port is closed by the job, or by the window at the job's last message.
    bool closed = context.Has(FakeJobContext::Event::Closed);
    bool adopted = false;
    for (const FakeJobContext::Event &e : context.events) {
        if (e.kind != FakeJobContext::Event::Posted)
            continue;
        const JobReport report =
            DescribeJobMessage(e.message.id, e.message.wParam, e.message.lParam, {});
        closed = closed || report.after == After::ClosePort;
        adopted = adopted || report.after == After::PasswordChanged;
    }
    EXPECT_TRUE(closed);
    EXPECT_EQ(adopted, c.adopted);
}

const std::string kLogin = "AT+WPAR=9996,\"1234\"";
const std::string kChange = "AT+WPAR=1,\"1234\",\"98765\",\"98765\"";
const std::string kEnd = "AT+WPAR=9995";

// clang-format off
const PasswordCase kPasswordCases[] = {
    {"Accepted", "", {}, {kLogin, kChange, kEnd}, true},
    {"LoginRefused", kLogin, {{1, 0}}, {kLogin}, false},
    {"ChangeRefused", kChange, {{2, 0}}, {kLogin, kChange, kEnd}, false},
    // The terminal took the new password before it refused to end the transaction.
    {"EndRefused", kEnd, {{3, 0}}, {kLogin, kChange, kEnd}, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Refusals, PasswordJob, ::testing::ValuesIn(kPasswordCases), CaseName());

} // namespace
