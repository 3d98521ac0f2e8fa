// The file and folder dialogs behind the Browse buttons, described by a request so tests can stand in.
#include "path_dialog.h"

#include "path_text.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

void configurePathDialog(QFileDialog& dialog, const PathDialogRequest& request)
{
    dialog.setObjectName(request.objectName);
    dialog.setWindowTitle(request.caption);
    dialog.setModal(true);
    // Keil's own names mix letter cases (.Uv2, .UV2, .uvproj, .UVPROJX): the filters must match them all
    // on case-sensitive file systems too.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (request.kind == PathDialogRequest::Kind::ExistingFolder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (!request.filter.isEmpty())
            dialog.setNameFilter(request.filter);
#ifndef Q_OS_WIN
        // The desktops' own file dialogs match filter patterns by letter case; the toolkit's dialog
        // follows the filter flags above. Windows' own dialog ignores letter case anyway.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
#endif
    }

    const QFileInfo start(hostPath(request.startPath));
    if (start.isDir()) {
        dialog.setDirectory(start.absoluteFilePath());
    } else if (start.exists()) {
        dialog.setDirectory(start.absolutePath());
        if (request.kind == PathDialogRequest::Kind::ExistingFile)
            dialog.selectFile(start.fileName());
    }
}

QString showPathDialog(QWidget* parent, const PathDialogRequest& request)
{
    QFileDialog dialog(parent);
    configurePathDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.constFirst();
}
