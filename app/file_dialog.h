#pragma once
// The file dialogs of Open and Save: what they ask for, and the Qt dialog
// that asks it. The dialogs start in the folder last used.

#include <QString>
#include <QStringList>
#include <memory>

class QFileDialog;
class QWidget;

// A filter as the user reads it, and the file name patterns it matches
// ("all files (*.*)" matches every file, "*").
struct FileFilter
{
    QString label;
    QString patterns;
};

struct FileRequest
{
    enum class Kind { Open, Save } kind = Kind::Open;
    QString title;
    QString folder;
    QList<FileFilter> filters;
    QString defaultSuffix;
    QString proposedName; // Save only
    // Offered beside the usual places (Open only, when it exists): the
    // settings history.
    QString historyFolder;
};

// The dialog for `request`, not yet shown. The program's own (not the
// desktop's) dialog, so the filters read exactly as given on every desktop.
std::unique_ptr<QFileDialog> MakeFileDialog(const FileRequest &request, QWidget *parent);

// Offers parameter files ("config file (*.ini)"), then all files.
void OfferParameterFiles(FileRequest &request);
