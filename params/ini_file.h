#pragma once
// The parameter file as the engine and the pages see it: one path, and the
// three private-profile operations. Every call reads the file afresh and
// closes it again; a write rewrites the file in place (IniDocument::Rewrite),
// without a disk flush. Many writes at once: use IniDocument directly.

#include "params/ini_document.h"

#include <string>
#include <string_view>
#include <vector>

class CIniFile
{
public:
    explicit CIniFile(std::string path = {}) : m_path(std::move(path)) {}

    const std::string &Path() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }

    // The value (at most 2047 characters, one pair of quotes removed), or
    // the default when the file, the section or the key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    // true on success; on failure the file is unchanged and LastError says why.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // The section's keys in file order; true when there is at least one.
    bool GetKeys(std::string_view section, std::vector<std::string> &keys) const;

    // Why the last call failed or could not read the file; empty otherwise.
    const std::string &LastError() const { return m_lastError; }

private:
    bool Load(params::IniDocument &document) const;

    std::string m_path;
    mutable std::string m_lastError;
};
