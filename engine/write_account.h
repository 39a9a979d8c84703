#pragma once
// What the terminal holds after a write that did not go through as a whole:
// the entries it took, whether it saved them, the entry at which the write
// stopped and the entries never sent. Positions count from 1 in each
// section, as the progress and the failure messages count them.

#include <cstddef>
#include <string>

struct WriteAccount
{
    enum class Section { None, Parameters, AtCommands };
    enum class Stop { Refused, Unanswered };
    enum class Saved { No, Yes, Unknown };

    size_t parameters = 0; // the entries of section PARA
    size_t atCommands = 0; // the entries of section ATCMD
    // Entries 1..n of each section went through (taken, or passed over by
    // the PIN rules).
    size_t parametersTaken = 0;
    size_t atCommandsTaken = 0;
    // The entry at which the write stopped, right after the last one taken.
    Section stoppedIn = Section::None;
    Stop stop = Stop::Refused;
    // Whether the terminal answered "OK" to the save of the parameters.
    Saved saved = Saved::No;
};

// The account in the current language, one sentence for each of: what was
// written (and saved), where the write stopped, what was not sent.
std::string DescribeWriteAccount(const WriteAccount &account);
