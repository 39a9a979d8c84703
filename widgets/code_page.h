#pragma once
// The one conversion between the terminal's 8-bit text and Qt's text.
//
// Values travel between the terminal, the parameter files and the store as
// bytes of the Windows-1252 code page, the one the files are written in on
// the technicians' PCs. Every widget that shows or takes such a value goes
// through these functions, so that every byte survives a load and a save: the
// five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand
// for the control characters of the same number, and come back as themselves.

#include <QString>
#include <QValidator>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;

namespace codepage {

// Every byte has a character, so this never fails.
QString ToQString(std::string_view bytes);

// The character's byte, or nullopt when the code page has none for it.
std::optional<unsigned char> ByteOf(QChar character);
inline bool IsEncodable(QChar character)
{
    return ByteOf(character).has_value();
}

// The bytes of the text, or nullopt when a character has no byte.
std::optional<std::string> FromQString(const QString &text);

// The bytes of a text taken from a field that refuses characters without a
// byte (see FieldValidator); should one slip through all the same, it
// becomes "?" rather than being dropped unseen.
std::string ToBytes(const QString &text);

} // namespace codepage

// What a text field lets the user type or paste. Texts a program sets keep
// what they hold (a value loaded from a file stays visible as it is, so the
// page's own rules can name it); an edit by the user is refused when it
// adds a character the field does not take, so a bad value can still be
// corrected character by character.
class FieldValidator : public QValidator
{
    Q_OBJECT
public:
    enum class Accepts {
        CodePage,          // any character with a Windows-1252 byte
        CodePageNoControl, // ... except control characters (a line end would split a command)
        Digits,            // 0 to 9
        DialDigits,        // 0 to 9 and "+" (a number that may be international)
    };

    // Becomes the field's validator (owned by the field).
    static FieldValidator *Attach(QLineEdit *field, Accepts accepts);

    State validate(QString &input, int &position) const override;
    bool Takes(QChar character) const;

private:
    FieldValidator(QLineEdit *field, Accepts accepts);
    int RefusedCount(const QString &text) const;

    const QLineEdit *m_field;
    const Accepts m_accepts;
    QString m_current; // the field's text before the edit under validation
};
