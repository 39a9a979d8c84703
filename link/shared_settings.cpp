#include "link/shared_settings.h"

#include "platform/text_util.h"

#include <iterator>

std::string g_strPortName;
std::string g_strBaudRate(kUsualBaudRate);
// Set by the start-up (platform::AppDir()) before the first per-port file.
std::string g_strAppDir;
int g_bIsNT = 1;
std::atomic<int> g_nDeviceGap{kDefaultDeviceGap};
std::atomic<EchoMode> g_terminalEcho{EchoMode::Unknown};

std::optional<int> ParseDeviceGap(std::string_view text)
{
    // At most four digits: longer texts are out of range anyway.
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const auto gap = static_cast<int>(text::LeadingNumber(text));
    if (gap > kMaxDeviceGap)
        return std::nullopt;
    return gap;
}

std::vector<std::string> SearchBaudRates()
{
    std::vector<std::string> rates{std::string(kUsualBaudRate)};
    for (auto rate = std::rbegin(kLoginBaudRates); rate != std::rend(kLoginBaudRates); ++rate) {
        if (*rate != kUsualBaudRate)
            rates.emplace_back(*rate);
    }
    return rates;
}
