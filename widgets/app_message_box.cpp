#include "widgets/app_message_box.h"

#include "widgets/qt_text.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

MessageBoxHook &Hook()
{
    static MessageBoxHook hook;
    return hook;
}

bool &QuestionAnswer()
{
    static bool yes = true;
    return yes;
}

SaveAnswer &SaveQuestionAnswer()
{
    static SaveAnswer answer = SaveAnswer::Discard;
    return answer;
}

constexpr lang::Tr3 kSaveButton = {"&Save", "&Salvar", "&Guardar"};
constexpr lang::Tr3 kDiscardButton = {"&Discard", "&Descartar", "&Descartar"};
constexpr lang::Tr3 kCancelButton = {"Cancel", "Cancelar", "Cancelar"};

QMessageBox::Icon IconFor(int style)
{
    using namespace platform;
    if (style & kStyleError)
        return QMessageBox::Critical;
    if (style & kStyleInformation)
        return QMessageBox::Information;
    if (style & kStyleQuestion)
        return QMessageBox::Question;
    if (style & kStyleWarning)
        return QMessageBox::Warning;
    return QMessageBox::NoIcon;
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

void AppMessageBox(QWidget *parent, const QString &text, int style, const QString &caption)
{
    if (Hook()) {
        Hook()({text, caption, style});
        return;
    }
    QMessageBox box(IconFor(style), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void SetQuestionAnswer(bool yes)
{
    QuestionAnswer() = yes;
}

bool AppQuestion(QWidget *parent, const QString &text, const QString &caption)
{
    constexpr int kStyle = platform::kStyleYesNo | platform::kStyleQuestion;
    if (Hook()) {
        Hook()({text, caption, kStyle});
        return QuestionAnswer();
    }
    QMessageBox box(IconFor(kStyle), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void SetSaveAnswer(SaveAnswer answer)
{
    SaveQuestionAnswer() = answer;
}

SaveAnswer AppSaveQuestion(QWidget *parent, const QString &text, const QString &caption)
{
    constexpr int kStyle = platform::kStyleQuestion;
    if (Hook()) {
        Hook()({text, caption, kStyle});
        return SaveQuestionAnswer();
    }
    QMessageBox box(IconFor(kStyle), caption, text, QMessageBox::NoButton, parent);
    QPushButton *save = box.addButton(lang::QtLabel(kSaveButton), QMessageBox::AcceptRole);
    QPushButton *discard =
        box.addButton(lang::QtLabel(kDiscardButton), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(lang::QtLabel(kCancelButton), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveAnswer::Save;
    return box.clickedButton() == discard ? SaveAnswer::Discard : SaveAnswer::Cancel;
}
