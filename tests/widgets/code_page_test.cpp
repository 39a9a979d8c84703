// The one conversion between the terminal's 8-bit text and Qt's text, and
// what the fields let the user type.

#include "tests/common/qt_test_registry.h"
#include "widgets/code_page.h"

#include <QLineEdit>
#include <QtTest>

namespace {

QString Chars(std::initializer_list<char16_t> units)
{
    QString text;
    for (const char16_t unit : units)
        text.append(QChar(unit));
    return text;
}

// Types each character as a key press carrying its text, as a keyboard
// with that character would.
void Type(QWidget *widget, const QString &text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}

} // namespace

class CodePageTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyByteSurvivesALoadAndASave()
    {
        std::string all;
        for (int byte = 0; byte < 256; ++byte)
            all.push_back(static_cast<char>(byte));
        const QString shown = codepage::ToQString(all);
        QCOMPARE(shown.size(), 256);
        QCOMPARE(codepage::FromQString(shown), std::optional<std::string>(all));
        QCOMPARE(codepage::ToBytes(shown), all);
    }

    void bytesAndCharacters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ASCII") << QByteArray("1234") << QStringLiteral("1234");
        QTest::newRow("Latin-1 range") << QByteArray("se\xF1"
                                                     "a")
                                       << Chars({'s', 'e', 0xF1, 'a'});
        QTest::newRow("euro and quotes")
            << QByteArray("\x80\x93\x94") << Chars({0x20AC, 0x201C, 0x201D});
        QTest::newRow("last of the high range") << QByteArray("\x9F\xA0") << Chars({0x178, 0xA0});
        QTest::newRow("undefined bytes stand for themselves")
            << QByteArray("\x81\x8D\x8F\x90\x9D") << Chars({0x81, 0x8D, 0x8F, 0x90, 0x9D});
    }
    void bytesAndCharacters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const std::string raw(bytes.constData(), size_t(bytes.size()));
        QCOMPARE(codepage::ToQString(raw), shown);
        QCOMPARE(codepage::FromQString(shown), std::optional<std::string>(raw));
    }

    void charactersWithoutAByteAreNotConverted()
    {
        const QString greek = Chars({'a', 0x3A9, 'b'});
        QCOMPARE(codepage::FromQString(greek), std::nullopt);
        QCOMPARE(codepage::ToBytes(greek), std::string("a?b"));
        QVERIFY(!codepage::IsEncodable(QChar(0x100)));
        QVERIFY(!codepage::IsEncodable(QChar(0x80))); // the byte 0x80 is the euro sign
        QVERIFY(!codepage::IsEncodable(QChar(0x9F))); // and 0x9F is Y with diaeresis
        QVERIFY(codepage::IsEncodable(QChar(0x20AC)));
    }

    void typing_data()
    {
        QTest::addColumn<int>("accepts");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        const int digits = int(FieldValidator::Accepts::Digits);
        const int codePage = int(FieldValidator::Accepts::CodePage);
        // clang-format off
        QTest::newRow("digits: letters are refused") << digits << "" << "1a2 3" << "123";
        QTest::newRow("digits: a loaded letter stays and digits join it")
            << digits << "12a" << "4b" << "12a4";
        QTest::newRow("digits: the first key after a load is checked too")
            << digits << "12a" << "b4" << "12a4";
        QTest::newRow("dial digits: a plus and digits")
            << int(FieldValidator::Accepts::DialDigits) << "" << "+1a*/2:9" << "+129";
        // clang-format on
        QTest::newRow("code page: what has a byte is taken")
            << codePage << "" << Chars({'s', 0xF1, 0x20AC, 0x3A9, '!'})
            << Chars({'s', 0xF1, 0x20AC, '!'});
    }
    void typing()
    {
        QFETCH(int, accepts);
        QFETCH(QString, loaded);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLineEdit field;
        FieldValidator::Attach(&field, FieldValidator::Accepts(accepts));
        field.setText(loaded);
        field.setCursorPosition(int(loaded.size()));
        Type(&field, typed);
        QCOMPARE(field.text(), shown);
    }

    void aBadLoadedValueCanBeCorrectedCharacterByCharacter()
    {
        QLineEdit field;
        FieldValidator::Attach(&field, FieldValidator::Accepts::Digits);
        field.setText(QStringLiteral("1x2"));
        field.setCursorPosition(2);
        QTest::keyClick(&field, Qt::Key_Backspace);
        QCOMPARE(field.text(), QStringLiteral("12"));
        QVERIFY(field.hasAcceptableInput());
    }

    void controlCharactersAreRefusedWhereTheFieldSaysSo()
    {
        QLineEdit field;
        FieldValidator::Attach(&field, FieldValidator::Accepts::CodePageNoControl);
        field.insert(QStringLiteral("ab\rcd")); // as a paste does
        QCOMPARE(field.text(), QString());
        field.insert(QStringLiteral("a\x7F"));
        QCOMPARE(field.text(), QString());
        field.insert(Chars({'a', ' ', 0xE9, '~'}));
        QCOMPARE(field.text(), Chars({'a', ' ', 0xE9, '~'}));
    }
};

KESTREL_QT_TEST(CodePageTest)
#include "code_page_test.moc"
