#pragma once
// The application's own message box: caption "Kestrel Manager", the buttons
// and the icon that its style asks for (platform::MessageBoxStyle). Tests
// replace the box with a recorder, so nothing waits for a person.

#include "platform/message_box_style.h"

#include <QString>
#include <functional>

class QWidget;

inline constexpr const char *kAppCaption = "Kestrel Manager";

struct ShownMessage
{
    QString text;
    QString caption;
    int style = 0;
};

// Shows the box modally and returns when the user has closed it.
void AppMessageBox(QWidget *parent, const QString &text, int style,
                   const QString &caption = kAppCaption);
// Asks with Yes and No and the question icon; true for Yes.
// No is the default button and Escape's answer.
bool AppQuestion(QWidget *parent, const QString &text, const QString &caption = kAppCaption);

// Asks with Save, Discard and Cancel (the default and Escape's answer).
enum class SaveAnswer { Save, Discard, Cancel };
SaveAnswer AppSaveQuestion(QWidget *parent, const QString &text,
                           const QString &caption = kAppCaption);

// While set, boxes are handed to the hook instead of being shown, and
// questions are answered with SetQuestionAnswer's answer (Yes unless set)
// and SetSaveAnswer's (Discard unless set).
using MessageBoxHook = std::function<void(const ShownMessage &)>;
void SetMessageBoxHook(MessageBoxHook hook);
void SetQuestionAnswer(bool yes);
void SetSaveAnswer(SaveAnswer answer);
