// Open and Save: configuration files chosen by the user, round trips and
// files that cannot be read or written.

#include "app/file_dialog.h"
#include "app/settings_store.h"
#include "main_window_harness.h"
#include "pages/volume_page.h"
#include "platform/file_io.h"
#include "tests/common/file_size_limit.h"
#include "widgets/status_line.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <optional>
#include <sys/stat.h>

using main_texts::BottomButton;
using params::Page;
using params::Slot;

namespace {

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QLineEdit *TxLevel(MainWindowHarness &harness)
{
    return harness.PageAs<CVolumePage>(Page::Volume)->TxField();
}

void TypeSomeValues(MainWindowHarness &harness)
{
    harness.GeneralPassword()->setText(QStringLiteral("246810"));
    harness.Forbids()->ListBox()->click(); // fills the list
    harness.PageAs<CVolumePage>(Page::Volume)->TxBox()->click();
    TxLevel(harness)->setText(QStringLiteral("11"));
    harness.Forbids()->List()->SetCellText(0, 1, QStringLiteral("0800"));
}

} // namespace

class MainFilesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveAndOpenRoundTrip()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        TypeSomeValues(harness);
        const QString path = harness.AppDir() + QStringLiteral("/config.ini");

        harness.AnswerFileDialog(path);
        const mode_t umaskBefore = ::umask(022);
        const QString boxes = harness.Run(BottomButton::Save);
        ::umask(umaskBefore);
        QCOMPARE(boxes, QString());
        QCOMPARE(window.WaitDialog()->StatusText(),
                 QStringLiteral("Successfully exported to script file [config.ini]!"));
        // It holds the general password: the user's alone.
        QCOMPARE(QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(!window.SaveToFileFlag());
        const QByteArray saved = ReadFile(path);
        QVERIFY(saved.contains("3001=\"0800\""));

        const CMainDlg::FileRequest &save = harness.FileRequests().back();
        QCOMPARE(save.kind, CMainDlg::FileRequest::Kind::Save);
        QCOMPARE(save.proposedName, QStringLiteral("config.ini"));
        QCOMPARE(save.defaultSuffix, QStringLiteral("ini"));
        QCOMPARE(window.StatusLineWidget()->FullText(), QStringLiteral("File saved: config.ini"));

        // Other values typed meanwhile are replaced by the file's.
        TxLevel(harness)->setText(QStringLiteral("03"));
        harness.Forbids()->List()->SetCellText(0, 1, {});
        QCOMPARE(harness.Run(BottomButton::Open), QString());
        QCOMPARE(window.WaitDialog()->StatusText(),
                 QStringLiteral("Successfully imported from script file [config.ini]!"));
        QCOMPARE(TxLevel(harness)->text(), QStringLiteral("11"));
        QCOMPARE(harness.Forbids()->List()->CellText(0, 1), QStringLiteral("0800"));
        QCOMPARE(harness.FileRequests().back().folder, harness.AppDir()); // where Save went
        QCOMPARE(window.ChosenFilePath(), path);
        QCOMPARE(window.StatusLineWidget()->FullText(), QStringLiteral("File opened: config.ini"));
        QVERIFY(!window.StatusLineWidget()->Failed());
        QVERIFY(window.PagesFilled());

        // Save lets an empty general password through, once: the Transmit
        // after it checks every page again.
        harness.GeneralPassword()->clear();
        harness.AnswerFileDialog(harness.AppDir() + QStringLiteral("/empty.ini"));
        QCOMPARE(harness.Run(BottomButton::Save), QString());
        QVERIFY(!window.SaveToFileFlag());
        harness.Run(BottomButton::Transmit);
        QCOMPARE(harness.Boxes().LastText(), QStringLiteral("Please input the General Password."));
        QCOMPARE(harness.Terminal().CommandCount(), size_t(0));
        QCOMPARE(window.VisibleTemplate(), 193);
    }

    // A Save replaces the file whole or not at all (the file layer's own
    // tests hold a folder that refuses the file and the nothing left beside
    // it), says why it failed and leaves the window usable.
    void saveReplacesTheFileWholeOrNotAtAll()
    {
        for (const bool fails : {true, false}) {
            MainWindowHarness harness;
            TypeSomeValues(harness);
            const QString path = harness.AppDir() + QStringLiteral("/config.ini");
            const QByteArray old("[PARA]\r\n32=\"se\xF1"
                                 "a\"\r\n");
            QVERIFY(WriteFile(path, old));
            if (!fails) // a read-only file is replaced
                QVERIFY(::chmod(path.toLocal8Bit().constData(), 0444) == 0);
            harness.AnswerFileDialog(path);
            {
                std::optional<FileSizeLimit> fullDisk;
                if (fails)
                    fullDisk.emplace(old.size());
                QTest::mouseClick(harness.Button(BottomButton::Save), Qt::LeftButton);
                QTRY_VERIFY(harness.ControlsEnabled());
            }
            if (!fails) {
                QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
                const QByteArray saved = ReadFile(path);
                QVERIFY(!saved.contains(old) && saved.contains("16544=\"11\""));
                continue;
            }
            QCOMPARE(harness.Boxes().Count(), 1);
            QCOMPARE(harness.Boxes().LastStyle(), 16);
            QVERIFY2(harness.Boxes().LastText().contains(QStringLiteral("config.ini")),
                     qPrintable(harness.Boxes().LastText()));
            QCOMPARE(ReadFile(path), old);
            QCOMPARE(harness.Window().StatusLineWidget()->FullText(),
                     QStringLiteral("Save failed: ") + harness.Boxes().LastText());
            QVERIFY(!harness.Window().SaveToFileFlag());
            QCOMPARE(harness.Window().Store()[Slot::TxVolume], std::string("11"));

            // The window goes on working: a save elsewhere succeeds.
            harness.AnswerFileDialog(harness.AppDir() + QStringLiteral("/other.ini"));
            QCOMPARE(harness.Run(BottomButton::Save), QString());
        }
    }

    // The dialogs start in the documents folder, then where a file was last
    // chosen, whether by Open or by Save; a cancelled dialog changes nothing.
    void dialogsStartInTheFolderLastUsed()
    {
        QSettings(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"))
            .remove(QStringLiteral("Settings/folder"));
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (documents.isEmpty())
            documents = QDir::homePath();
        MainWindowHarness harness;
        const QString chosen = harness.AppDir() + QStringLiteral("/chosen");
        QVERIFY(QDir().mkpath(chosen));

        harness.AnswerFileDialog({});
        QTest::mouseClick(harness.Button(BottomButton::Save), Qt::LeftButton);
        QTest::mouseClick(harness.Button(BottomButton::Open), Qt::LeftButton);
        QCOMPARE(harness.FileRequests().size(), size_t(2));
        QCOMPARE(harness.FileRequests().back().folder, documents);
        QVERIFY(harness.ControlsEnabled());
        QVERIFY(!harness.Window().SaveToFileFlag());
        QCOMPARE(harness.Boxes().Count(), 0);
        harness.AnswerFileDialog(chosen + QStringLiteral("/config.ini"));
        QTest::mouseClick(harness.Button(BottomButton::Save), Qt::LeftButton);
        QCOMPARE(harness.FileRequests().back().folder, documents);
        QTRY_VERIFY(harness.ControlsEnabled());
        harness.AnswerFileDialog({});
        QTest::mouseClick(harness.Button(BottomButton::Open), Qt::LeftButton);
        QCOMPARE(harness.FileRequests().back().folder, chosen);
        QCOMPARE(LoadFileFolder(), chosen);
        // A folder that has gone since gives the documents folder again.
        QVERIFY(QDir(chosen).removeRecursively());
        QCOMPARE(LoadFileFolder(), documents);
    }

    // A successful Receive keeps a copy of the values in the settings
    // history, which the Open dialog offers beside the usual places. The
    // filters read as they always have; "all files (*.*)" lists a file
    // without a dot in its name too, and the configuration filter does not.
    void theOpenDialogOffersTheHistoryAndListsAllFiles()
    {
        QTemporaryDir folder;
        QVERIFY(WriteFile(folder.path() + QStringLiteral("/notes"), "x"));
        QVERIFY(WriteFile(folder.path() + QStringLiteral("/config.ini"), "[PARA]\n"));
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        const QString history = harness.AppDir() + QStringLiteral("/history/");
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QCOMPARE(QDir(history + QStringLiteral("SIM0")).entryList(QDir::Files).size(), 1);

        harness.AnswerFileDialog({});
        QTest::mouseClick(harness.Button(BottomButton::Open), Qt::LeftButton);
        FileRequest request = harness.FileRequests().back();
        QCOMPARE(request.historyFolder, history);
        request.folder = folder.path();
        const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(request, nullptr);
        const QList<QUrl> places = dialog->sidebarUrls();
        QVERIFY2(places.contains(QUrl::fromLocalFile(QDir(history).absolutePath())),
                 qPrintable(QUrl::toStringList(places).join(QLatin1Char(' '))));
        dialog->show();
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->itemText(0), QStringLiteral("config file (*.ini)"));
        QCOMPARE(types->itemText(1), QStringLiteral("all files (*.*)"));
        auto *model = dialog->findChild<QFileSystemModel *>();
        QVERIFY(model);
        const auto listed = [&](const char *name) {
            const QModelIndex index =
                model->index(folder.path() + QLatin1Char('/') + QLatin1String(name));
            return index.isValid() && model->flags(index).testFlag(Qt::ItemIsEnabled) &&
                   QDir::match(model->nameFilters(), QLatin1String(name));
        };
        QTRY_VERIFY(listed("config.ini"));
        QVERIFY(!listed("notes"));
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        QTRY_VERIFY(listed("notes"));
        QVERIFY(listed("config.ini"));
        dialog->reject();
    }
};

KESTREL_QT_TEST(MainFilesTest)
#include "main_files_test.moc"
