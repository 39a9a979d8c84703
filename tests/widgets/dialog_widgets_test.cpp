// The real message boxes (every other test hands them to a recorder) and
// what a screen reader hears of a combo box.

#include "params/language.h"
#include "tests/common/qt_test_registry.h"
#include "widgets/accessible_names.h"
#include "widgets/app_message_box.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// What the box showed: its icon, caption, text, buttons and default button.
struct SeenBox
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption, text;
    QStringList buttons;
    QString defaultButton;
};

} // namespace

class DialogWidgetsTest : public QObject
{
    Q_OBJECT

private:
    // Shows a box with `show`; once it is up, notes what it shows and
    // presses the button with the text given, or Escape without one.
    template <class Show>
    SeenBox Answer(const QString &press, Show show)
    {
        SeenBox seen;
        QTimer::singleShot(0, [&seen, press] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = {box->icon(), box->windowTitle(), box->text(), {}, {}};
            QAbstractButton *pressed = nullptr;
            for (QAbstractButton *button : box->buttons()) {
                seen.buttons << button->text();
                if (button->text() == press)
                    pressed = button;
            }
            if (box->defaultButton())
                seen.defaultButton = box->defaultButton()->text();
            if (pressed)
                pressed->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        show();
        return seen;
    }

private Q_SLOTS:
    void init() { SetMessageBoxHook({}); }

    void aMessageShowsTheIconItsStyleAsksFor()
    {
        using namespace platform;
        const std::pair<int, QMessageBox::Icon> styles[] = {
            {kStyleError, QMessageBox::Critical},
            {kStyleInformation, QMessageBox::Information},
            {kStyleQuestion, QMessageBox::Question},
            {kStyleWarning, QMessageBox::Warning},
            {kStyleOk, QMessageBox::NoIcon},
        };
        for (const auto &[style, icon] : styles) {
            const SeenBox seen = Answer(QStringLiteral("OK"), [style] {
                AppMessageBox(nullptr, QStringLiteral("Saved."), style);
            });
            QCOMPARE(seen.icon, icon);
            QCOMPARE(seen.caption, QStringLiteral("Kestrel Manager"));
            QCOMPARE(seen.text, QStringLiteral("Saved."));
            QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
        }
    }

    void aQuestionIsAnsweredYesOnlyByYes()
    {
        const std::pair<QString, bool> presses[] = {{QStringLiteral("&Yes"), true},
                                                    {QStringLiteral("&No"), false},
                                                    {QString(), false}};
        for (const auto &[press, yes] : presses) {
            bool answer = !yes;
            const SeenBox seen = Answer(press, [&answer] {
                answer = AppQuestion(nullptr, QStringLiteral("Transmit?"));
            });
            QCOMPARE(answer, yes);
            QCOMPARE(seen.icon, QMessageBox::Question);
            QCOMPARE(seen.defaultButton, QStringLiteral("&No"));
        }
    }

    void theSaveQuestionNamesItsButtonsInTheUsersLanguage()
    {
        const std::tuple<int, QStringList> languages[] = {
            {lang::kEnglish, {"&Save", "&Discard", "Cancel"}},
            {lang::kPortuguese, {"&Salvar", "&Descartar", "Cancelar"}},
            {lang::kSpanish, {"&Guardar", "&Descartar", "Cancelar"}},
        };
        const SaveAnswer answers[] = {SaveAnswer::Save, SaveAnswer::Discard, SaveAnswer::Cancel};
        for (const auto &[language, labels] : languages) {
            lang::SetCode(language);
            for (int i = 0; i <= 3; ++i) {
                SaveAnswer answer = SaveAnswer::Save;
                const SeenBox seen =
                    Answer(i < 3 ? labels[i] : QString(), [&answer] {
                        answer = AppSaveQuestion(nullptr, QStringLiteral("Save the changes?"));
                    });
                QCOMPARE(int(answer), int(answers[std::min(i, 2)]));
                QCOMPARE(seen.buttons.size(), 3);
                for (const QString &label : labels)
                    QVERIFY2(seen.buttons.contains(label), qPrintable(label));
                QCOMPARE(seen.defaultButton, labels[2]);
            }
        }
        lang::SetCode(lang::kEnglish);
    }

    // The entries as a list, the shown one as the value, the field of an
    // editable one as the part with the focus, and the drop-down as its action.
    void aComboBoxTellsItsValueItsPartsAndItsAction()
    {
        NameComboBoxesByLabel();
        for (const bool editable : {false, true}) {
            QComboBox combo;
            combo.addItems({QStringLiteral("9600"), QStringLiteral("115200")});
            combo.setCurrentIndex(1);
            combo.setEditable(editable);
            combo.setAccessibleName(QStringLiteral("Baud rate"));
            combo.show();
            QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(&combo);
            QVERIFY(shown);
            QCOMPARE(shown->text(QAccessible::Name), QStringLiteral("Baud rate"));
            QCOMPARE(shown->text(QAccessible::Value), QStringLiteral("115200"));
            QVERIFY(shown->state().expandable && !shown->state().expanded);
            QCOMPARE(shown->childCount(), editable ? 2 : 1);
            QCOMPARE(shown->child(0)->object(), combo.view());
            QCOMPARE(shown->indexOfChild(shown->child(0)), 0);
            QCOMPARE(shown->child(2), nullptr);
            QCOMPARE(shown->indexOfChild(nullptr), -1);
            if (editable) {
                QCOMPARE(shown->child(1)->object(), combo.lineEdit());
                QCOMPARE(shown->indexOfChild(shown->child(1)), 1);
                QCOMPARE(shown->focusChild()->object(), combo.lineEdit());
            } else {
                QCOMPARE(shown->child(1), nullptr);
                QCOMPARE(shown->focusChild(), nullptr);
            }
            QAccessibleActionInterface *actions = shown->actionInterface();
            QVERIFY(actions);
            QCOMPARE(actions->actionNames().value(0), QAccessibleActionInterface::showMenuAction());
            actions->doAction(QAccessibleActionInterface::showMenuAction());
            QVERIFY(combo.view()->isVisible());
            QVERIFY(shown->state().expanded);
            combo.hidePopup();
        }
    }
};

KESTREL_QT_TEST(DialogWidgetsTest)
#include "dialog_widgets_test.moc"
