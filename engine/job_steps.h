#pragma once
// The steps of the read, write and password jobs, as their progress and
// result messages number them in wParam, and the pauses the jobs make for the
// terminal. The numbers are part of the protocol between the worker and the
// windows: the reports, the main window and kestrel-cli read them.

#include "platform/sync.h"

#include <chrono>
#include <cstdint>

enum JobStep : uintptr_t {
    kStepNone = 0, // not started, and the value after every end
    // The write job and the password change: "AT+WPAR=9996" with the software
    // password opens the write transaction.
    kStepLogin = 1,
    // The password change numbers its last two steps on its own.
    kStepNewPassword = 2,    // "AT+WPAR=1" with the old and the new password
    kStepPasswordEnd = 3,    // "AT+WPAR=9995"
    kStepParameters = 3,     // read: "AT+RPAR" per parameter; write: "AT+WPAR" per entry
    kStepAtCommands = 4,     // the supplementary-service queries or entries
    kStepSave = 5,           // "AT+WPAR=9999"
    kStepTransactionEnd = 6, // "AT+WPAR=9995"
    kStepStore = 7,          // "AT&W"
};

// The pauses, each named by what it waits for.
struct JobPauses
{
    // Before the first command of a read or a write.
    platform::Millis beforeFirstCommand{20};
    // Before "AT&W" when the write had no AT-command entries.
    platform::Millis beforeStore{500};
    // Before "AT&W" after supplementary-service changes: the terminal needs
    // a moment for them (only the first pause of a run ends at once).
    platform::Millis afterAtCommands{2000};
    // After a PIN entry, before its follow-up line, and between repeats of
    // a refused follow-up.
    platform::Millis afterPinEntry{5000};
    // The watchdog's wait for the worker to drop the job it ended.
    platform::Millis afterWatchdog{20};
};
inline constexpr JobPauses kJobPauses;
