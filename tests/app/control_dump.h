#pragma once
// The pieces of a reviewed dump of controls: one line per control with its
// kind, accessible name, text, tooltip and a font of its own, compared with a
// file in golden/.
// KESTREL_UPDATE_GOLDEN=1 rewrites the file after a deliberate change of a
// text; review its diff before committing it.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace control_dump {

inline QString Quoted(const QString &text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('\n'), QLatin1String("\\n")) +
           QLatin1Char('"');
}

// The kind and text of a plain control; no kind for the others, which the
// caller tells apart.
inline std::pair<QString, QString> PlainKindAndText(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return {QStringLiteral("label"), label->text()};
    if (auto *box = qobject_cast<QCheckBox *>(widget))
        return {QStringLiteral("box"), box->text()};
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return {QStringLiteral("button"), button->text()};
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        return {QStringLiteral("field"), field->text()};
    return {};
}

inline QString Line(const QString &prefix, const QString &kind, const QString &name,
                    const QString &text, const QWidget *widget)
{
    QString line = prefix + kind + '\t' + Quoted(name) + '\t' + Quoted(text);
    if (!widget->toolTip().isEmpty())
        line += QStringLiteral("\ttip ") + Quoted(widget->toolTip());
    // What sets the control's font apart from the application's.
    const QFont font = widget->font(), plain = QApplication::font(widget);
    QStringList look;
    if (font.families() != plain.families())
        look << Quoted(font.families().join(QLatin1String(", ")));
    if (font.pixelSize() != plain.pixelSize())
        look << QStringLiteral("%1px").arg(font.pixelSize());
    if (font.bold() != plain.bold())
        look << QLatin1String(font.bold() ? "bold" : "not bold");
    if (!look.isEmpty())
        line += QStringLiteral("\tfont ") + look.join(QLatin1Char(' '));
    return line;
}

inline void CompareWithDump(const QStringList &lines, const QString &path)
{
    QFile golden(path);
    if (qEnvironmentVariableIsSet("KESTREL_UPDATE_GOLDEN")) {
        QVERIFY(golden.open(QIODevice::WriteOnly | QIODevice::Truncate));
        golden.write((lines.join('\n') + '\n').toUtf8());
        golden.close();
    }
    QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(path));
    QCOMPARE(lines, QString::fromUtf8(golden.readAll()).split('\n', Qt::SkipEmptyParts));
}

} // namespace control_dump
