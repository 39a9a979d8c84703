// The real message boxes (every other test hands them to a recorder) and
// what a screen reader hears of a combo box.

#include "params/language.h"
#include "tests/common/qt_golden.h"
#include "tests/common/qt_test_registry.h"
#include "widgets/accessible_names.h"
#include "widgets/app_message_box.h"
#include "widgets/nav_button.h"
#include "widgets/status_line.h"
#include "widgets/wait_dialog.h"
#include "widgets/window_look.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// Once the next box is up, what it shows in a line; then the button with
// the text `press` is pressed, or Escape without one.
void AnswerNextBox(QString &seen, const QString &press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        QStringList buttons;
        QAbstractButton *pressed = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            buttons << button->text();
            pressed = button->text() == press ? button : pressed;
        }
        QAbstractButton *preset = box->defaultButton();
        const char *icons[] = {"none", "information", "warning", "critical", "question"};
        seen = QStringLiteral("%1 icon, \"%2\", \"%3\", buttons %4, default %5")
                   .arg(QLatin1String(icons[box->icon()]), box->windowTitle(), box->text(),
                        buttons.join(QLatin1Char('|')),
                        preset ? preset->text() : QStringLiteral("none"));
        if (pressed)
            pressed->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
}

} // namespace

class DialogWidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // "message STYLE", "question [BUTTON]" and "save LANGUAGE [BUTTON]": the
    // box shown and the answer.
    void boxesAsTheTranscriptSays()
    {
        SetMessageBoxHook({});
        const auto take = [](const std::string &line) -> std::vector<std::string> {
            const std::vector<std::string> words = Words(line);
            if (words.empty() || line.starts_with('#') || line.starts_with("== "))
                return {};
            const QString text = QStringLiteral("Save the changes?");
            const auto press = [&](size_t at) {
                return at < words.size() ? QString::fromStdString(words[at]) : QString();
            };
            QString seen, answer;
            if (words[0] == "message") {
                AnswerNextBox(seen, QStringLiteral("OK"));
                AppMessageBox(nullptr, text, std::stoi(words[1]));
            } else if (words[0] == "question") {
                AnswerNextBox(seen, press(1));
                answer = AppQuestion(nullptr, text) ? QStringLiteral("yes") : QStringLiteral("no");
            } else {
                lang::SetCode(std::stoi(words[1]));
                AnswerNextBox(seen, press(2));
                const char *names[] = {"save", "discard", "cancel"};
                answer = QLatin1String(names[int(AppSaveQuestion(nullptr, text))]);
                lang::SetCode(lang::kEnglish);
            }
            return {(seen + (answer.isEmpty() ? QString() : QStringLiteral(", answer ") + answer))
                        .toStdString()};
        };
        ExpectTranscript(KESTREL_WIDGETS_GOLDEN_DIR "/message_boxes.txt", take,
                         [] { return std::vector<std::string>{}; });
    }

    // The entries as a list, the shown one as the value, the field of an
    // editable one as the part with the focus, and the drop-down as its action.
    // "palette WINDOW TEXT BUTTON BUTTON-TEXT HIGHLIGHT HIGHLIGHTED-TEXT": the
    // window colour and failure text the look takes from it, and the skins
    // of the two kinds of buttons.
    void looksAsTheTranscriptSays()
    {
        const auto take = [](const std::string &line) -> std::vector<std::string> {
            const std::vector<std::string> words = Words(line);
            if (words.size() != 7 || words[0] != "palette")
                return {};
            const auto colour = [&](size_t at) {
                return QColor(QString::fromStdString(words[at]));
            };
            QPalette palette(colour(3), colour(1));
            const std::pair<QPalette::ColorRole, size_t> roles[] = {{QPalette::WindowText, 2},
                                                                    {QPalette::ButtonText, 4},
                                                                    {QPalette::Highlight, 5},
                                                                    {QPalette::HighlightedText, 6}};
            for (const auto &[role, at] : roles)
                palette.setColor(role, colour(at));
            const QPalette look = LookPalette(palette);
            QWidget window;
            window.setPalette(palette);
            NavButton nav(QString(), &window);
            QPushButton button(&window);
            ApplyButtonSkin(button);
            return {QStringLiteral("%1, window %2 %3 %4, failure text %5")
                        .arg(IsDarkPalette(palette) ? "dark" : "light",
                             look.color(QPalette::Active, QPalette::Window).name(),
                             look.color(QPalette::Inactive, QPalette::Window).name(),
                             look.color(QPalette::Disabled, QPalette::Window).name(),
                             FailureTextColour(palette).name())
                        .toStdString(),
                    "nav " + nav.styleSheet().simplified().toStdString(),
                    "button " + button.styleSheet().simplified().toStdString()};
        };
        ExpectTranscript(KESTREL_WIDGETS_GOLDEN_DIR "/looks.txt", take,
                         [] { return std::vector<std::string>{}; });
    }

    // Without a width yet a status line keeps the text whole; it is fitted
    // when it gets its size.
    void aStatusLineNotLaidOutKeepsItsText()
    {
        StatusLine line(2);
        line.resize(0, line.height());
        line.ShowOutcome(QStringLiteral("Read parameter success!"), false);
        QCOMPARE(line.text(), QStringLiteral("Read parameter success!"));
    }

    // The wait box's bar counts only with a total, and never past either end;
    // shown again, the box stays where the user moved it.
    void theWaitBoxCountsWithinItsTotal()
    {
        CWaitDlg wait;
        const struct
        {
            int done, total, value, maximum;
            bool counted;
        } cases[] = {{3, 10, 3, 10, true}, {12, 10, 10, 10, true}, {-2, 10, 0, 10, true},
                     {1, 1, 1, 1, true},   {4, 0, 0, 0, false},    {4, -1, 0, 0, false}};
        for (const auto &c : cases) {
            wait.SetProgress(c.done, c.total);
            QCOMPARE(wait.ProgressValue(), c.value);
            QCOMPARE(wait.ProgressTotal(), c.maximum);
            QCOMPARE(wait.findChild<QProgressBar *>()->isTextVisible(), c.counted);
        }
        wait.ShowCentred();
        wait.move(wait.pos() + QPoint(40, 30));
        const QPoint moved = wait.pos();
        wait.ShowCentred();
        QCOMPARE(wait.pos(), moved);
    }

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
