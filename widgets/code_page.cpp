#include "widgets/code_page.h"

#include "platform/text_util.h"

#include <QLineEdit>

namespace codepage {

QString ToQString(std::string_view bytes)
{
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (const char byte : bytes)
        text.append(QChar(text::Windows1252Character(static_cast<unsigned char>(byte))));
    return text;
}

std::optional<unsigned char> ByteOf(QChar character)
{
    const char16_t unicode = character.unicode();
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF))
        return static_cast<unsigned char>(unicode);
    for (size_t i = 0; i < text::kWindows1252High.size(); ++i) {
        if (text::kWindows1252High[i] == unicode)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::optional<std::string> FromQString(const QString &text)
{
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    for (const QChar character : text) {
        const std::optional<unsigned char> byte = ByteOf(character);
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

std::string ToBytes(const QString &text)
{
    std::string bytes;
    bytes.reserve(size_t(text.size()));
    for (const QChar character : text)
        bytes.push_back(static_cast<char>(ByteOf(character).value_or('?')));
    return bytes;
}

} // namespace codepage

FieldValidator::FieldValidator(QLineEdit *field, Accepts accepts)
    : QValidator(field), m_field(field), m_accepts(accepts), m_current(field->text())
{
    // textChanged comes after an accepted edit and after setText, so the
    // validator always knows the text an edit starts from.
    connect(field, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_current = text; });
}

FieldValidator *FieldValidator::Attach(QLineEdit *field, Accepts accepts)
{
    auto *validator = new FieldValidator(field, accepts);
    field->setValidator(validator);
    return validator;
}

bool FieldValidator::Takes(QChar character) const
{
    switch (m_accepts) {
    case Accepts::Digits:
        return character >= QLatin1Char('0') && character <= QLatin1Char('9');
    case Accepts::DialDigits:
        return (character >= QLatin1Char('0') && character <= QLatin1Char('9')) ||
               character == QLatin1Char('+');
    case Accepts::CodePageNoControl:
        if (character.unicode() < 0x20 || character.unicode() == 0x7F)
            return false;
        [[fallthrough]];
    case Accepts::CodePage:
        return codepage::IsEncodable(character);
    }
    return false;
}

int FieldValidator::RefusedCount(const QString &text) const
{
    int count = 0;
    for (const QChar character : text)
        count += Takes(character) ? 0 : 1;
    return count;
}

QValidator::State FieldValidator::validate(QString &input, int &) const
{
    // setText clears the field's undo history before it validates, and every
    // edit by the user is recorded there first: without a history the text
    // is the program's, kept as it is. Judged as an edit, a refused program
    // text would leave the field taking the user's next character unchecked.
    if (!m_field->isUndoAvailable())
        return Acceptable;
    return RefusedCount(input) > RefusedCount(m_current) ? Invalid : Acceptable;
}
