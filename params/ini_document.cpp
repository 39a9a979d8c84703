#include "params/ini_document.h"

#include "params/text_value.h"
#include "platform/unique_fd.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

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

std::string CutToValueBuffer(std::string_view value)
{
    return std::string(value.substr(0, kIniValueBufferSize - 1));
}

bool ContainsAny(std::string_view text, std::string_view characters)
{
    return text.find_first_of(characters) != std::string_view::npos;
}

// The message of errno, taken in a thread-safe way.
std::string SystemError(const std::string &what, const std::string &path)
{
    return what + " \"" + path + "\": " + std::error_code(errno, std::generic_category()).message();
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(size_t(written));
    }
    return true;
}

// The file a path names: a symbolic link is followed, so that saving keeps
// the link and replaces what it points at.
std::string ResolveTarget(const std::string &path)
{
    struct stat linkStat
    {
    };
    if (::lstat(path.c_str(), &linkStat) != 0 || !S_ISLNK(linkStat.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::atomic<unsigned> g_tempCounter{0};

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
    return CutToValueBuffer(StripQuotes(ParseLine(found->lines[it->second]).value));
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
    // Non-blocking, so that a FIFO in the file's place cannot hang us.
    platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.Valid()) {
        if (errno == ENOENT)
            return {};
        return FileResult::Failure(SystemError("Cannot open", path));
    }
    struct stat info
    {
    };
    if (::fstat(fd.Get(), &info) != 0)
        return FileResult::Failure(SystemError("Cannot read", path));
    if (S_ISDIR(info.st_mode))
        return FileResult::Failure("Cannot read \"" + path + "\": it is a directory");
    if (!S_ISREG(info.st_mode))
        return FileResult::Failure("Cannot read \"" + path + "\": it is not a regular file");
    const std::string tooLarge = "Cannot read \"" + path + "\": the file is larger than " +
                                 std::to_string(kIniMaxFileSize / (1024 * 1024)) +
                                 " MiB and is not a parameter file";
    if (size_t(info.st_size) > kIniMaxFileSize)
        return FileResult::Failure(tooLarge);

    std::string bytes(size_t(info.st_size), '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > kIniMaxFileSize)
                return FileResult::Failure(tooLarge); // it grew while we read
            bytes.resize(bytes.size() + 4096);
        }
        const ssize_t got = ::read(fd.Get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return FileResult::Failure(SystemError("Cannot read", path));
        }
        if (got == 0)
            break;
        filled += size_t(got);
    }
    bytes.resize(filled);
    Parse(bytes);
    m_exists = true;
    return {};
}

FileResult IniDocument::Save(const std::string &path, bool flushToDisk) const
{
    const std::string target = ResolveTarget(path);
    struct stat old
    {
    };
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return FileResult::Failure(SystemError("Cannot write", path));
    if (exists && S_ISDIR(old.st_mode))
        return FileResult::Failure("Cannot write \"" + path + "\": it is a directory");
    if (exists && !S_ISREG(old.st_mode))
        return FileResult::Failure("Cannot write \"" + path + "\": it is not a regular file");
    // Without any write bit the file is read-only, also for root, who could
    // otherwise replace it.
    if (exists && ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return FileResult::Failure("Cannot write \"" + path + "\": the file is read-only");

    const std::string temp = target + ".kestrel-" + std::to_string(::getpid()) + "-" +
                             std::to_string(g_tempCounter.fetch_add(1)) + ".tmp";
    platform::UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.Valid())
        return FileResult::Failure(SystemError("Cannot write", path));
    const auto fail = [&](const char *what) {
        const FileResult failure = FileResult::Failure(SystemError(what, path));
        ::unlink(temp.c_str());
        return failure;
    };
    if (exists) {
        if (::fchmod(fd.Get(), old.st_mode & 07777) != 0)
            return fail("Cannot keep the permissions of");
        if (::fchown(fd.Get(), old.st_uid, old.st_gid) != 0) {
            // Only the owner's own files come back with their owner; others'
            // files keep their permissions, which is what matters.
        }
    }
    if (!WriteAll(fd.Get(), Serialize()) || (flushToDisk && ::fsync(fd.Get()) != 0))
        return fail("Cannot write");
    if (::close(fd.Release()) != 0) // a late write error shows here
        return fail("Cannot write");
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail("Cannot replace");
    return {};
}

} // namespace params
