#include "sim/command_reader.h"

namespace sim {

void CommandReader::Feed(std::string_view bytes, std::vector<ReceivedLine> &lines)
{
    for (char c : bytes) {
        if (c == '\n' || c == '\0')
            continue;
        if (c != '\r') {
            if (m_line.size() < kMaxLine)
                m_line.push_back(c);
            else
                m_overflowed = true;
            continue;
        }
        if (!m_line.empty())
            lines.push_back({std::move(m_line), m_overflowed});
        m_line.clear();
        m_overflowed = false;
    }
}

} // namespace sim
