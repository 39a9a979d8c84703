#include "engine/timeouts.h"

#include "engine/engine_globals.h"
#include "engine/login.h"
#include "platform/text_util.h"

#include <cstdlib>

namespace {
void Override(const char *name, int &value)
{
    const char *text = std::getenv(name);
    if (!text)
        return;
    const uint32_t millis = text::LeadingNumber(text);
    if (millis > 0 && millis <= 3600000)
        value = static_cast<int>(millis);
}
} // namespace

void ApplyTimeoutOverrides()
{
    Override("KESTREL_JOB_TIMEOUT_MS", g_nJobTimeout);
    Override("KESTREL_LOGIN_TIMEOUT_MS", login::g_nLoginTimeout);
}
