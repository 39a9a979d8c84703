#include "params/language.h"

#include <algorithm>
#include <atomic>

namespace lang {

namespace {

std::atomic<int> g_languageCode{kEnglish};

// No text of ours asks for more; a wider mark is taken as this wide.
constexpr size_t kMaxWidth = 64;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLengthModifier(char c)
{
    return c == 'l' || c == 'h' || c == 'z' || c == 'j' || c == 't';
}

bool IsConversion(char c)
{
    return c == 's' || c == 'd' || c == 'i' || c == 'u';
}

// `value` made `width` wide: zeros after any sign for a number under a "%0Nd",
// blanks in front otherwise.
void Pad(std::string &value, size_t width, bool zeros)
{
    if (value.size() >= width)
        return;
    const size_t at = zeros && !value.empty() && value.front() == '-' ? 1 : 0;
    value.insert(at, width - value.size(), zeros ? '0' : ' ');
}

} // namespace

int Code()
{
    return g_languageCode.load(std::memory_order_relaxed);
}
void SetCode(int code)
{
    g_languageCode.store(code, std::memory_order_relaxed);
}

std::string Fill(std::string_view text, std::initializer_list<Arg> args)
{
    std::string out;
    out.reserve(text.size());
    auto next = args.begin();
    size_t i = 0;
    while (i < text.size()) {
        const size_t mark = text.find('%', i);
        if (mark == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, mark - i));
        if (text.substr(mark, 2) == "%%") {
            out += '%';
            i = mark + 2;
            continue;
        }
        size_t at = mark + 1;
        const bool zeros = at < text.size() && text[at] == '0';
        size_t width = 0;
        while (at < text.size() && IsDigit(text[at]))
            width = std::min(width * 10 + size_t(text[at++] - '0'), kMaxWidth);
        while (at < text.size() && IsLengthModifier(text[at]))
            ++at;
        if (at >= text.size() || !IsConversion(text[at]) || next == args.end()) {
            out += '%'; // no mark, or no value for it: the text as it stands
            i = mark + 1;
            continue;
        }
        std::string value = next->Text();
        Pad(value, width, zeros && next->IsNumber() && text[at] != 's');
        out += value;
        ++next;
        i = at + 1;
    }
    return out;
}

std::string Tr3::TextIn(int code, std::initializer_list<Arg> args) const
{
    const char *chosen = Pick(code);
    return chosen ? Fill(chosen, args) : std::string();
}

std::string Tr3::LabelIn(int code) const
{
    const char *chosen = Pick(code);
    return chosen ? chosen : en ? en : "";
}

} // namespace lang
