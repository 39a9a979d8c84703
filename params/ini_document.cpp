#include "params/ini_document.h"

#include "params/text_value.h"
#include "platform/file_io.h"

namespace params {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct LineView
{
    enum Kind { Other, Comment, Header, Entry } kind = Other;
    std::string_view name;  // section name or key, trimmed
    std::string_view value; // trimmed, quotes still on
};

LineView ParseLine(std::string_view line)
{
    const std::string_view content = text::TrimBlanks(line);
    if (content.empty())
        return {};
    if (content.front() == ';')
        return {LineView::Comment, {}, {}};
    if (content.front() == '[') {
        const size_t close = content.find(']');
        if (close == std::string_view::npos)
            return {};
        return {LineView::Header, text::TrimBlanks(content.substr(1, close - 1)), {}};
    }
    const size_t equals = content.find('=');
    if (equals == std::string_view::npos)
        return {}; // a line without "=" is not a key
    const std::string_view key = text::TrimBlanks(content.substr(0, equals));
    if (key.empty())
        return {};
    return {LineView::Entry, key, text::TrimBlanks(content.substr(equals + 1))};
}

std::string_view StripQuotes(std::string_view value)
{
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        return value.substr(1, value.size() - 2);
    return value;
}

// The Windows reader hands the value, its quotes removed, over as a C
// string: the caller sees it up to a NUL byte.
std::string_view CutAtNul(std::string_view value)
{
    return value.substr(0, value.find('\0'));
}

std::string CutToValueBuffer(std::string_view value)
{
    return std::string(value.substr(0, kIniValueBufferSize - 1));
}

bool ContainsAny(std::string_view text, std::string_view characters)
{
    return text.find_first_of(characters) != std::string_view::npos;
}

} // namespace

void IniDocument::AddLine(Section &section, std::string line, std::string_view entryKey)
{
    if (!entryKey.empty()) {
        const auto [it, inserted] =
            section.keyLines.try_emplace(LowerAscii(entryKey), section.lines.size());
        if (inserted)
            section.keyOrder.push_back(it->second);
    }
    section.lines.push_back(std::move(line));
}

void IniDocument::Parse(std::string_view bytes)
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_sections.emplace_back(); // lines before the first header
    bool firstLine = true;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        if (pos < bytes.size())
            pos += (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;

        std::string_view parsed = line;
        if (firstLine && parsed.starts_with(kUtf8Bom))
            parsed.remove_prefix(kUtf8Bom.size()); // an editor's mark, not part of the header
        firstLine = false;
        const LineView view = ParseLine(parsed);
        if (view.kind == LineView::Header) {
            m_sections.emplace_back();
            m_sectionIndex.try_emplace(LowerAscii(view.name), m_sections.size() - 1);
        }
        AddLine(m_sections.back(), std::string(line),
                view.kind == LineView::Entry ? view.name : std::string_view());
    }
}

std::string IniDocument::Serialize() const
{
    size_t size = 0;
    for (const Section &section : m_sections) {
        for (const std::string &line : section.lines)
            size += line.size() + 2;
    }
    std::string bytes;
    bytes.reserve(size);
    for (const Section &section : m_sections) {
        for (const std::string &line : section.lines) {
            bytes += line;
            bytes += "\r\n";
        }
    }
    return bytes;
}

const IniDocument::Section *IniDocument::FindSection(std::string_view name) const
{
    const auto it = m_sectionIndex.find(LowerAscii(text::TrimBlanks(name)));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const
{
    const Section *found = FindSection(section);
    if (!found)
        return CutToValueBuffer(defaultValue);
    const auto it = found->keyLines.find(LowerAscii(text::TrimBlanks(key)));
    if (it == found->keyLines.end())
        return CutToValueBuffer(defaultValue);
    return CutToValueBuffer(CutAtNul(StripQuotes(ParseLine(found->lines[it->second]).value)));
}

bool IniDocument::GetKeys(std::string_view section, std::vector<std::string> &keys) const
{
    keys.clear();
    const Section *found = FindSection(section);
    if (!found)
        return false;
    size_t used = 1; // the empty key that ends the list
    for (size_t line : found->keyOrder) {
        const std::string_view key = ParseLine(found->lines[line]).name;
        if (used + key.size() + 1 > kIniKeyListBufferSize)
            break; // a cut key would name another parameter: leave it out whole
        used += key.size() + 1;
        keys.emplace_back(key);
    }
    return !keys.empty();
}

FileResult IniDocument::WriteString(std::string_view section, std::string_view key,
                                    std::string_view value)
{
    section = text::TrimBlanks(section);
    key = text::TrimBlanks(key);
    const std::string where = "[" + std::string(section) + "] " + std::string(key);
    if (section.empty() || ContainsAny(section, std::string_view("\r\n\0]", 4)))
        return FileResult::Failure("Cannot write " + where + ": invalid section name");
    if (key.empty() || ContainsAny(key, std::string_view("\r\n\0=", 4)) || key.front() == ';' ||
        key.front() == '[')
        return FileResult::Failure("Cannot write " + where + ": invalid key");
    if (ContainsAny(value, "\r\n"))
        return FileResult::Failure("Cannot write " + where + ": the value contains a line break");
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);

    const auto sectionIt = m_sectionIndex.find(LowerAscii(section));
    if (sectionIt == m_sectionIndex.end()) {
        Section added;
        added.lines.push_back("[" + std::string(section) + "]");
        AddLine(added, std::string(key) + "=" + std::string(value), key);
        m_sections.push_back(std::move(added));
        m_sectionIndex.emplace(LowerAscii(section), m_sections.size() - 1);
        return {};
    }
    Section &target = m_sections[sectionIt->second];
    const auto keyIt = target.keyLines.find(LowerAscii(key));
    if (keyIt != target.keyLines.end()) {
        std::string &line = target.lines[keyIt->second];
        line = std::string(ParseLine(line).name) + "=" + std::string(value);
        return {};
    }
    // After the section's last non-blank line, so that blank lines before
    // the next header stay where they are; every key line lies before it.
    size_t at = target.lines.size();
    while (at > 1 && text::TrimBlanks(target.lines[at - 1]).empty())
        --at;
    target.lines.insert(target.lines.begin() + std::ptrdiff_t(at),
                        std::string(key) + "=" + std::string(value));
    target.keyLines.emplace(LowerAscii(key), at);
    target.keyOrder.push_back(at);
    return {};
}

FileResult IniDocument::Load(const std::string &path)
{
    Parse({});
    m_exists = false;
    std::string bytes;
    bool missing = false;
    const FileResult read = platform::ReadWholeFile(path, kIniMaxFileSize, bytes, &missing);
    if (!read.ok)
        return missing ? FileResult() : read;
    Parse(bytes);
    m_exists = true;
    return {};
}

FileResult IniDocument::Save(const std::string &path, bool flushToDisk) const
{
    return platform::ReplaceFile(path, Serialize(), flushToDisk);
}

FileResult IniDocument::Rewrite(const std::string &path) const
{
    return platform::RewriteFile(path, Serialize());
}

} // namespace params
