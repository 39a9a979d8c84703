#pragma once
// The language code (1 English, 2 Portuguese, 3 Spanish) and texts that exist
// in the three languages. A text is chosen when it is shown.

#include <initializer_list>
#include <string>
#include <string_view>

namespace lang {

inline constexpr int kEnglish = 1;
inline constexpr int kPortuguese = 2;
inline constexpr int kSpanish = 3;

int Code();
void SetCode(int code);

struct Tr3
{
    const char *en;
    const char *pt;
    const char *es;

    // The text for a language code; nullptr for a code outside 1..3, where
    // the program shows nothing.
    constexpr const char *Pick(int code) const
    {
        switch (code) {
        case kEnglish: return en;
        case kPortuguese: return pt;
        case kSpanish: return es;
        default: return nullptr;
        }
    }
    const char *Current() const { return Pick(Code()); }
    // The text in the current language; empty where the code has none.
    std::string Text() const
    {
        const char *chosen = Current();
        return chosen ? chosen : "";
    }
};

// Fills each "%s" of a text from the tables with the next argument; the
// arguments are never read as a format, and a "%s" left over stays as it is.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> arguments);

} // namespace lang
