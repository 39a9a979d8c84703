#include "widgets/app_message_box.h"

#include <QMessageBox>

namespace {

MessageBoxHook &Hook()
{
    static MessageBoxHook hook;
    return hook;
}

QMessageBox::Icon IconFor(int style)
{
    if (style & 16)
        return QMessageBox::Critical;
    if (style & 32)
        return QMessageBox::Information;
    if (style & 64)
        return QMessageBox::Question;
    if (style & 128)
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
