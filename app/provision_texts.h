#pragma once
// The texts of the "Provision several terminals..." window in the three
// languages. The login's Find speaks with the same texts.

#include "params/language.h"

#include <QString>

enum class ProvisionText {
    MenuEntry, // the main window's menu entry, with its "..."
    Title,
    FileLabel,
    Browse,
    PortsLabel,
    Find,
    CancelFind,
    Verify,
    Start,
    Stop,
    SaveReport,
    Close,
    PortColumn, // the table's columns
    StateColumn,
    TimeColumn,
    ReasonColumn,
    Waiting, // a port's state in the table
    LoggingIn,
    Reading,
    Writing,
    Saving,
    Verifying,
    ChangingPassword,
    Probing,
    Done,
    Failed,
    Skipped,
    Counted, // a state with the entries done of all: "writing 12 of 356"
    Seconds, // a time in seconds, one decimal
    Elapsed,
    Answered, // Find's outcome
    NoneAnswered,
    AtRate, // a port that answered and the rate: "SIM0 at 115200 bps"
    Finding,
    NoFile,
    NoPort,
    CannotStart,
    EndedWithoutResult,
    ReportTitle,
    ReportFilter,
};

const lang::Tr3 &ProvisionTextTr3(ProvisionText text);
// The text in the current language, with its marks filled.
QString ProvisionLabel(ProvisionText text, std::initializer_list<lang::Arg> args = {});
