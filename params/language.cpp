#include "params/language.h"

#include <atomic>

namespace lang {

namespace {
std::atomic<int> g_languageCode{kEnglish};
}

int Code() { return g_languageCode.load(std::memory_order_relaxed); }
void SetCode(int code) { g_languageCode.store(code, std::memory_order_relaxed); }

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    std::string out;
    auto argument = arguments.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 2) == "%s" && argument != arguments.end()) {
            out += *argument++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace lang
