#pragma once
// The texts of the main window's status line, which keeps the outcome of
// the last Receive, Transmit, Open, Save, password or PIN change in view after any box has gone,
// and the questions Transmit asks before writing pages that nothing, or a
// failed Receive, has filled.
// "%s" stands for the detail: the file's name, or what failed.

#include "params/language.h"

#include <QString>

namespace status_texts {

enum class Operation { Receive, Transmit, Open, Save, PasswordChange, PinChange };

struct OperationTexts
{
    Operation operation;
    lang::Tr3 succeeded;
    lang::Tr3 failed;
};

// In the order of Operation.
extern const OperationTexts kOperations[6];

extern const lang::Tr3 kTransmitCancelled;
// What failed when a page refused one of its values (the page's title).
extern const lang::Tr3 kPageRefused;
extern const lang::Tr3 kTransmitQuestion;
// After a Receive that failed: the pages (their titles) still showing what
// the terminal did not send, and the question before a Transmit of them
// ("%s": the pages' sentence).
extern const lang::Tr3 kUnreadPages;
extern const lang::Tr3 kAllPages; // in place of the titles of every page a read fills
extern const lang::Tr3 kTransmitAfterFailedReceive;
// The user cancelled a Receive.
extern const lang::Tr3 kReceiveCancelled;
// Closing the window while a write runs.
extern const lang::Tr3 kCloseDuringWrite;
// Closing the window with edits not yet saved or sent.
extern const lang::Tr3 kUnsavedEdits;

// The outcome of `operation`: the success text with `detail` (the file's
// name for Open and Save), or with `failure` when there was one.
QString Outcome(Operation operation, const QString &failure, const QString &detail = {});

} // namespace status_texts
