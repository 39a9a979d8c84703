#pragma once
// The language code (1 English, 2 Portuguese, 3 Spanish) and the texts that
// exist in the three languages. A text is chosen when it is shown, from the
// code at that moment.
//
// A text marks where a value goes as the texts have always been written:
// "%s", "%d", "%04d", "%u", "%%" for a percent sign. The marks are filled
// here, one value after the other; a text is never handed to printf, so no
// text from a table can act as a format.

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace lang {

inline constexpr int kEnglish = 1;
inline constexpr int kPortuguese = 2;
inline constexpr int kSpanish = 3;

int Code();
void SetCode(int code);

// A value for a mark: a text, or a number (a "%d" takes a text as it is, a
// "%s" a number's decimal digits).
class Arg
{
    template <typename T>
    static constexpr bool kIsNumber =
        std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>;

public:
    Arg(std::string_view text) : m_text(text) {}
    Arg(const std::string &text) : m_text(text) {}
    Arg(const char *text) : m_text(text ? text : "") {}
    template <typename Number, std::enable_if_t<kIsNumber<Number>, int> = 0>
    Arg(Number number) : m_text(std::to_string(number)), m_isNumber(true)
    {}

    const std::string &Text() const { return m_text; }
    bool IsNumber() const { return m_isNumber; }

private:
    std::string m_text;
    bool m_isNumber = false;
};

// The text with its marks filled with `args` in order. A mark without a
// value left stays as it is.
std::string Fill(std::string_view text, std::initializer_list<Arg> args);

struct Tr3
{
    const char *en;
    const char *pt;
    const char *es;

    // The text for a language code; nullptr for a code outside 1..3.
    constexpr const char *Pick(int code) const
    {
        switch (code) {
        case kEnglish:
            return en;
        case kPortuguese:
            return pt;
        case kSpanish:
            return es;
        default:
            return nullptr;
        }
    }
    const char *Current() const { return Pick(Code()); }

    // A message in the language `code`, filled with `args`; "" for a code
    // outside 1..3, where the program shows nothing.
    std::string TextIn(int code, std::initializer_list<Arg> args = {}) const;
    // ... in the current language.
    std::string Text(std::initializer_list<Arg> args = {}) const { return TextIn(Code(), args); }
    // A label (of a control, a column, a dialog) in the language `code`: the
    // English one for a code outside 1..3, as the controls are made with.
    std::string LabelIn(int code) const;
    std::string Label() const { return LabelIn(Code()); }
};

} // namespace lang
