#pragma once
// A reviewed, checked-in transcript, compared line by line with what the
// code does now, for any test framework. KESTREL_UPDATE_GOLDEN=1 rewrites
// the file from the run instead; review its diff before committing it.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// A text with line breaks on one line of a transcript.
inline std::string OneLine(std::string text)
{
    for (size_t at = 0; (at = text.find_first_of("\r\n", at)) != std::string::npos;)
        text.replace(at, 1, text[at] == '\r' ? "\\r" : "\\n");
    return text;
}

// Bytes outside printable ASCII as \xHH, so that a transcript stays text.
inline std::string Printable(const std::string &text)
{
    std::string printable;
    for (const unsigned char c : text) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", c);
        printable += c >= 0x20 && c < 0x7f ? std::string(1, char(c)) : escape;
    }
    return printable;
}

// \r, \n, \t, \0, \\ and \xHH in a step's text.
inline std::string Unescape(const std::string &text)
{
    static const std::map<char, char> kEscapes = {
        {'r', '\r'}, {'n', '\n'}, {'t', '\t'}, {'0', '\0'}, {'\\', '\\'}};
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() && text[i] == '\\' ? text[i + 1] : 0;
        if (next == 'x' && i + 3 < text.size()) {
            bytes.push_back(char(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
            i += 3;
        } else if (kEscapes.contains(next)) {
            bytes.push_back(kEscapes.at(next));
            ++i;
        } else {
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

// The words of a step, each unescaped; '' is an empty word.
inline std::vector<std::string> Words(const std::string &text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word == "''" ? "" : Unescape(word));
    return words;
}

inline std::vector<std::string> GoldenLines(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Empty when the file holds `actual` (or was rewritten with it); else the
// first difference with what comes before and after it.
inline std::string GoldenDifference(const std::string &path, const std::vector<std::string> &actual)
{
    if (std::getenv("KESTREL_UPDATE_GOLDEN")) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (const std::string &line : actual)
            out << line << '\n';
        return out ? std::string() : path + ": cannot be written";
    }
    if (!std::ifstream(path))
        return path + ": cannot be read";
    const std::vector<std::string> expected = GoldenLines(path);
    const auto differs =
        std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    if (differs.first == expected.end() && differs.second == actual.end())
        return {};
    const size_t at = size_t(differs.first - expected.begin());
    std::ostringstream diff;
    diff << path << ":" << at + 1 << " differs (- the file, + this run)\n";
    for (size_t i = at > 3 ? at - 3 : 0; i < at; ++i)
        diff << "  " << expected[i] << "\n";
    for (size_t i = at; i < std::min(at + 6, expected.size()); ++i)
        diff << "- " << expected[i] << "\n";
    for (size_t i = at; i < std::min(at + 6, actual.size()); ++i)
        diff << "+ " << actual[i] << "\n";
    return diff.str();
}

// Walks the transcript at `path` as a run of scenarios: every line but the
// "> " results goes to `take`, whose results follow the line; `finish`
// closes a scenario before a blank line, a "== " line and the end of the
// file, and its results go there. Returns the transcript of this run.
template <class Take, class Finish>
std::vector<std::string> Transcript(const std::string &path, Take take, Finish finish)
{
    std::vector<std::string> actual;
    const auto add = [&](const std::vector<std::string> &results) {
        for (const std::string &result : results)
            actual.push_back("> " + result);
    };
    for (const std::string &line : GoldenLines(path)) {
        if (line.starts_with("> "))
            continue;
        if (line.empty() || line.starts_with("== "))
            add(finish());
        actual.push_back(line);
        add(take(line));
    }
    add(finish());
    return actual;
}
