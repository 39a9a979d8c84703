#pragma once
// Turns fuzz bytes into reply lines the way the receiving window does: a
// line builder on a port that is never opened, whose owner hands each
// completed line on at once.

#include "link/line_builder.h"
#include "link/serial_port.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>

class LineFeed : public IRxLineOwner
{
public:
    using Sink = std::function<void(const std::string &line)>;

    explicit LineFeed(Sink sink) : m_sink(std::move(sink)) {}

    void Feed(std::string_view bytes) { m_builder.Feed(bytes.data(), bytes.size()); }

    void OnRxLineReady() override
    {
        if (auto line = m_builder.TakeLine())
            m_sink(*line);
    }
    void OnRxError(RxError) override {}

private:
    CSerialPort m_port;
    RxLineBuilder m_builder{m_port, *this};
    Sink m_sink;
};
