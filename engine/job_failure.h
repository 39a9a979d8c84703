#pragma once
// A job failure that brings its own words: the command line the terminal
// refused, or why the values read could not be stored. Only the worker knows
// them when it fails, and a record shared with later commands would name the
// wrong line by the time the window reads it, so the text travels with the
// message: a heap block in wParam, freed by whoever takes the message, or by
// the window that drops it unhandled.

#include "engine/write_account.h"

#include <cstdint>
#include <optional>
#include <string>

struct JobFailure
{
    uintptr_t step = 0; // the failed stage, as the job's error message numbers it
    intptr_t item = 0;  // the position or number that goes with the stage
    std::string text;   // the refused line, or the reason with the file's name
    // A write's account of what the terminal now holds.
    std::optional<WriteAccount> account = std::nullopt;
};

// Why a job ended at once in the middle: the terminal went away (a pulled
// cable), or the user stopped it. Either way the port is closed and a
// write tells what the terminal holds.
enum class JobCut { PortLost, Stopped };
// The message that reports it: WM_JOB_PORT_LOST_NOTIFY or WM_JOB_STOPPED_NOTIFY.
uint32_t CutMessage(JobCut cut);

// The messages whose wParam is a JobFailure.
bool CarriesJobFailure(uint32_t message);
// Frees the JobFailure of such a message; any other message is left alone.
void DisposeJobMessage(uint32_t message, uintptr_t wParam);
