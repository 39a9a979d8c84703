#pragma once
// The states a run of kestrel-cli moves through, by the names its progress
// lines give them. The provisioning relays them per port, and the
// provisioning window reads them back: one list for all three.

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

enum class RunState {
    Waiting,   // not started yet
    LoggingIn, // the login exchange
    Reading,   // done of total values read
    Writing,   // done of total entries sent
    Saving,    // the terminal saves what it took
    Verifying, // reading back: done of total values read
    ChangingPassword,
    Probing, // sending "AT" to find the terminal
    Done,    // succeeded
    Failed,  // with the reason
    Skipped, // never started: the run was stopped first
};

inline constexpr std::array<std::string_view, 11> kStateNames = {
    "waiting",           "logging-in", "reading", "writing", "saving", "verifying",
    "changing-password", "probing",    "done",    "failed",  "skipped"};

constexpr std::string_view StateName(RunState state)
{
    return kStateNames.at(static_cast<size_t>(state));
}

// The state of that name; none for a name no state has.
constexpr std::optional<RunState> StateNamed(std::string_view name)
{
    const auto named = std::find(kStateNames.begin(), kStateNames.end(), name);
    if (named == kStateNames.end())
        return std::nullopt;
    return static_cast<RunState>(named - kStateNames.begin());
}
