#include "cli/json_text.h"

#include "platform/text_util.h"

#include <cstdio>

namespace json {

namespace {

// The length of the valid UTF-8 sequence at the start of `bytes`, 0 when
// none starts there (a stray continuation byte, an overlong form, a
// surrogate, a value past U+10FFFF, a cut-off sequence).
size_t Utf8Length(std::string_view bytes, char32_t &character)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    // Below C2 a byte is ASCII, a continuation or the lead of an overlong
    // form; above F4 it would lead past U+10FFFF.
    if (lead < 0xC2 || lead > 0xF4)
        return 0;
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const char32_t minimum = length == 4 ? 0x10000 : length == 3 ? 0x800 : 0x80;
    character = lead & (0xFF >> (length + 1));
    if (bytes.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        character = character << 6 | (byte(i) & 0x3F);
    }
    const bool surrogate = character >= 0xD800 && character <= 0xDFFF;
    return character < minimum || character > 0x10FFFF || surrogate ? 0 : length;
}

std::string Escaped(char32_t character)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(character));
    return buffer;
}

bool IsControl(char32_t character)
{
    return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads a string at `at` (its opening quote) of the flat lines Object writes.
std::optional<std::string> ReadString(std::string_view line, size_t &at)
{
    std::string value;
    for (++at; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            ++at;
            return value;
        }
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++at >= line.size())
            return std::nullopt;
        switch (line[at]) {
        case '"':
            value += '"';
            break;
        case '\\':
            value += '\\';
            break;
        case '/':
            value += '/';
            break;
        case 'b':
            value += '\b';
            break;
        case 'f':
            value += '\f';
            break;
        case 'n':
            value += '\n';
            break;
        case 'r':
            value += '\r';
            break;
        case 't':
            value += '\t';
            break;
        case 'u': {
            if (at + 4 >= line.size())
                return std::nullopt;
            unsigned code = 0;
            if (std::sscanf(std::string(line.substr(at + 1, 4)).c_str(), "%4x", &code) != 1)
                return std::nullopt;
            // Object never writes a surrogate; one read stands for itself as U+FFFD.
            AppendUtf8(value, code >= 0xD800 && code <= 0xDFFF ? 0xFFFD : code);
            at += 4;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

std::string Quote(std::string_view bytes)
{
    std::string out = "\"";
    for (size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char32_t character = byte;
        const size_t length = byte < 0x80 ? 1 : Utf8Length(bytes.substr(i), character);
        if (length == 0) {
            out += Escaped(text::Windows1252Character(byte));
            ++i;
            continue;
        }
        if (character == '"' || character == '\\')
            out += {'\\', static_cast<char>(character)};
        else if (IsControl(character))
            out += Escaped(character);
        else
            out.append(bytes.substr(i, length));
        i += length;
    }
    return out + "\"";
}

Object &Object::Member(std::string_view key, std::string_view value)
{
    if (!m_members.empty())
        m_members += ',';
    m_members += Quote(key) + ":";
    m_members += value;
    return *this;
}

Object &Object::Text(std::string_view key, std::string_view value)
{
    return Member(key, Quote(value));
}

Object &Object::Number(std::string_view key, long long value)
{
    return Member(key, std::to_string(value));
}

Object &Object::Flag(std::string_view key, bool value)
{
    return Member(key, value ? "true" : "false");
}

Object &Object::Raw(std::string_view key, std::string_view value)
{
    return Member(key, value);
}

std::string Array(const std::vector<std::string> &values)
{
    std::string out = "[";
    for (const std::string &value : values)
        out += (out.size() > 1 ? "," : "") + value;
    return out + "]";
}

std::optional<std::map<std::string, std::string>> ReadFlatObject(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.remove_suffix(1);
    if (line.size() < 2 || line.front() != '{' || line.back() != '}')
        return std::nullopt;
    std::map<std::string, std::string> members;
    size_t at = 1;
    while (at < line.size() - 1) {
        if (line[at] != '"')
            return std::nullopt;
        std::optional<std::string> key = ReadString(line, at);
        if (!key || at >= line.size() || line[at] != ':')
            return std::nullopt;
        ++at;
        std::optional<std::string> value;
        if (at < line.size() && line[at] == '"') {
            value = ReadString(line, at);
        } else {
            const size_t end = line.find_first_of(",}", at);
            const std::string_view word = line.substr(at, end - at);
            if (word.empty() || word.find_first_of("[{\"") != std::string_view::npos)
                return std::nullopt;
            value = std::string(word);
            at = end;
        }
        if (!value || at >= line.size())
            return std::nullopt;
        members[*key] = *value;
        if (line[at] == ',')
            ++at;
        else if (at != line.size() - 1)
            return std::nullopt;
    }
    return members;
}

} // namespace json
