#pragma once
// The parameter file: the store written to and read from an INI file with
// the sections "PARA" (numbered parameters) and "ATCMD" (the arguments of
// the call waiting, call forwarding and clock commands). The same format
// serves the per-port temporary file and the configuration files the user
// opens and saves.

#include "params/parameter_store.h"
#include "params/read_lists.h"
#include "platform/file_io.h"

#include <string>
#include <string_view>

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

// Export's file as bytes. The read form leaves out what a read never
// returns: the general password (an empty one would be written to the next
// terminal) and the clock, which runs on.
enum class ExportForm { Save, ReadResult };
platform::FileResult ExportText(const ParameterStore &store, ExportForm form, std::string &bytes);

// Whether an export can write a "PARA" entry under this key: a parameter
// number the export order holds, in decimal without leading zeros. Every
// "ATCMD" key of the catalogue (FindAtSetting) is written too.
bool ExportWritesParameter(std::string_view key);

// The PIN change's own file: 16207 = the change-PIN switch, then the PIN
// entries of a change (16550, 16549, 16548, 16551) from the store's old and
// new PIN, written only while the switch is on. No general password goes
// with it: the terminal keeps its own. Replaced like Export's file.
ScriptResult ExportPinChange(const std::string &path, const ParameterStore &store);

// Fills the store from the file: slots back to their defaults (kept slots
// stay), then every known entry. A file that cannot be read, or that has no
// key in either section, leaves the store unchanged.
ScriptResult Import(const std::string &path, ParameterStore &store);

// The file Save writes after a read, made from the read's own file (the
// temporary parameter file the read job fills): its values go into a fresh
// store as the pages show them (a list entry the terminal answered with a
// blank record is empty; call waiting and forwarding are included when
// `asked` queried them), and come out in the read form of ExportText.
platform::FileResult ReadResultText(const std::string &readPath, const ReadLists &asked,
                                    std::string &bytes);

} // namespace params
