#pragma once
// The parameter file: the store written to and read from an INI file with
// the sections "PARA" (numbered parameters) and "ATCMD" (the arguments of
// the call waiting, call forwarding and clock commands). The same format
// serves the per-port temporary file and the configuration files the user
// opens and saves.

#include "params/parameter_store.h"
#include "platform/file_io.h"

#include <string>

namespace params {

inline constexpr char kParaSection[] = "PARA";
inline constexpr char kAtcmdSection[] = "ATCMD";

// The text to confirm with and whether it reports success; the caller shows
// it (or not). The file is named by the part of the path after its last
// slash or backslash.
struct ScriptResult
{
    std::string text;
    bool ok = false;
};

// Writes the store into a fresh file in the fixed export order and puts it
// in the place of any file of that name in one step. A file that cannot be
// replaced is left byte for byte as it was and the result says why; a
// read-only one is refused unless `readOnly` says to replace it.
ScriptResult Export(const std::string &path, const ParameterStore &store,
                    platform::ReadOnlyTarget readOnly = platform::ReadOnlyTarget::Refuse);

// The PIN change's own file: 16207 = the change-PIN switch, then the PIN
// entries of a change (16550, 16549, 16548, 16551) from the store's old and
// new PIN, written only while the switch is on. No general password goes
// with it: the terminal keeps its own. Replaced like Export's file.
ScriptResult ExportPinChange(const std::string &path, const ParameterStore &store);

// Fills the store from the file: slots back to their defaults (kept slots
// stay), then every known entry. A file that cannot be read, or that has no
// key in either section, leaves the store unchanged.
ScriptResult Import(const std::string &path, ParameterStore &store);

} // namespace params
