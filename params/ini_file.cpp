#include "params/ini_file.h"

using params::FileResult;
using params::IniDocument;

bool CIniFile::Load(IniDocument &document) const
{
    const FileResult loaded = document.Load(m_path);
    m_lastError = loaded.error;
    return loaded.ok;
}

std::string CIniFile::GetString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    IniDocument document;
    Load(document); // an unreadable file reads as an empty one
    return document.GetString(section, key, defaultValue);
}

bool CIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    IniDocument document;
    if (!Load(document))
        return false; // never replace a file we could not read
    FileResult result = document.WriteString(section, key, value);
    // A read writes the temporary file once per reply, some 350 times: it
    // is rewritten in place, which costs the disk nothing until it settles.
    if (result.ok)
        result = document.Rewrite(m_path);
    m_lastError = result.error;
    return result.ok;
}

bool CIniFile::GetKeys(std::string_view section, std::vector<std::string> &keys) const
{
    IniDocument document;
    Load(document);
    return document.GetKeys(section, keys);
}
