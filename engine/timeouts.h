#pragma once
// Shortened time-outs for automated tests of the programs: at start-up
// KESTREL_JOB_TIMEOUT_MS replaces the 30 s job watchdog and
// KESTREL_LOGIN_TIMEOUT_MS the 8 s login time-out.
void ApplyTimeoutOverrides();
