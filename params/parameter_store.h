#pragma once
// The one in-memory place where the settings live between the pages, the
// parameter files and the terminal. Slots are texts addressed by name; the
// two lists keep every entry in its row (empty rows stay empty, never
// compacted). At program start every text is empty and every integer 0.

#include "params/catalogue.h"

#include <array>
#include <string>

struct ParameterStore
{
    static constexpr size_t kForbiddenCount = params::kForbiddenEntries;
    static constexpr size_t kCallBackCount = params::kCallBackEntries;

    std::array<std::string, params::kSlotCount> slotTexts;
    std::array<std::string, kForbiddenCount> forbidden; // entry i: parameter 3001 + i
    std::array<std::string, kCallBackCount> callBack;   // entry i: parameter 16212 + i

    // The call waiting and forward page's master switch and its two
    // inclusion flags; they gate the ATCMD entries in both directions.
    int waitingForwardEnabled = 0;
    int callWaitingIncluded = 0;
    int forwardingIncluded = 0;
    // 0 no PIN entries, 1 start-up setting, 2 change PIN.
    int pinWriteMode = 0;

    std::string &operator[](params::Slot slot) { return slotTexts[size_t(slot)]; }
    const std::string &operator[](params::Slot slot) const { return slotTexts[size_t(slot)]; }

    // The slot's text parses to a non-zero value.
    bool IsOn(params::Slot slot) const;

    // What an import does first: every slot and list entry back to its
    // default, except the slots kept across imports and the four integers.
    void ResetToDefaults();

    bool operator==(const ParameterStore &) const = default;
};
