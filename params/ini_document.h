#pragma once
// An INI file held in memory, read and edited the way the Windows
// private-profile functions treat the files the tool exchanges: lines end at
// CR, LF or CR LF; section and key names match without regard to case;
// blanks and tabs around names, around the first "=" and at the end of a
// value do not count; one pair of matching quotes around a value is removed
// on read; lines that begin with ";" are comments; the first of duplicate
// keys (and sections) is the one read and replaced; a value ends at a NUL
// byte. Other bytes are kept as they are. Edits go to memory; Save replaces
// the file in one step, so a batch of writes costs one load and one save.

#include "platform/file_io.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace params {

// A value is read into 2048 characters, so at most 2047 come back.
inline constexpr size_t kIniValueBufferSize = 2048;
// Keys are listed into 16384 characters: each key and its terminating zero,
// and one more zero at the end. Keys that do not fit are not seen.
inline constexpr size_t kIniKeyListBufferSize = 16384;
// Parameter files are a few kilobytes; anything this large is not one.
inline constexpr size_t kIniMaxFileSize = size_t{16} * 1024 * 1024;

using FileResult = platform::FileResult;

class IniDocument
{
public:
    // Reads the whole file and closes it. A missing file is an empty
    // document (Exists() false); a directory, a file too large to be a
    // parameter file or a read error is a failure that leaves it empty.
    FileResult Load(const std::string &path);
    // Replaces the file in one step: a new file beside it, renamed over it,
    // with the old file's permissions. A read-only file or a directory in
    // its place fails and stays as it was. flushToDisk waits until the new
    // file is on the disk before the rename, so that not even a power cut
    // leaves an empty file behind.
    FileResult Save(const std::string &path, bool flushToDisk = true) const;
    // Rewrites a scratch file in place (platform::RewriteFile).
    FileResult Rewrite(const std::string &path) const;

    void Parse(std::string_view bytes);
    // Every line ends with CR LF.
    std::string Serialize() const;
    bool Exists() const { return m_exists; }

    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    // The keys of the section in file order, each once; true when there is
    // at least one.
    bool GetKeys(std::string_view section, std::vector<std::string> &keys) const;
    // Replaces the key's line, or appends the key at the end of its section,
    // or a new section at the end. The value loses its leading blanks.
    // Refuses names and values that would not read back as written (line
    // breaks, a "=" in a key, a "]" in a section name, empty names).
    FileResult WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Section
    {
        std::vector<std::string> lines; // the header first, except in the preamble
        std::unordered_map<std::string, size_t> keyLines; // folded key -> first line
        std::vector<size_t> keyOrder;                     // first lines in file order
    };

    const Section *FindSection(std::string_view name) const;
    // entryKey: the line's key when it is a key line, else empty.
    static void AddLine(Section &section, std::string line, std::string_view entryKey);

    std::vector<Section> m_sections; // [0] holds the lines before the first header
    std::unordered_map<std::string, size_t> m_sectionIndex; // folded name -> first
    bool m_exists = false;
};

} // namespace params
