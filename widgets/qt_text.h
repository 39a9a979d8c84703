#pragma once
// The texts of the three languages as the windows show them: lang::Tr3's
// messages and labels as QStrings (the sources are UTF-8).

#include "params/language.h"

#include <QString>

namespace lang {

inline QString QtText(const Tr3 &text, std::initializer_list<Arg> args = {})
{
    return QString::fromStdString(text.Text(args));
}

// The same with a Qt text as the one value.
inline QString QtText(const Tr3 &text, const QString &value)
{
    return QtText(text, {value.toStdString()});
}

inline QString QtLabel(const Tr3 &text, int code = Code())
{
    return QString::fromStdString(text.LabelIn(code));
}

} // namespace lang
