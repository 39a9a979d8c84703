#pragma once
// Assembles command lines from the bytes the terminal receives. A line ends
// with CR; LF and NUL are dropped wherever they come (the login line ends in
// CR and a zero byte); empty lines are skipped. A line longer than the
// terminal's buffer keeps its first kMaxLine bytes and is marked, so that it
// can be refused instead of being taken for a shorter command.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct ReceivedLine
{
    std::string text;
    bool overflowed = false;
};

class CommandReader
{
public:
    static constexpr std::size_t kMaxLine = 1024;

    // Appends every line the bytes complete to `lines`.
    void Feed(std::string_view bytes, std::vector<ReceivedLine> &lines);

private:
    std::string m_line;
    bool m_overflowed = false;
};

} // namespace sim
