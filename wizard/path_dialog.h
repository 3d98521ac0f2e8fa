// The file and folder dialogs behind the Browse buttons, described by a request so tests can stand in.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// One Browse dialog: what it offers, where it opens and what it is called.
struct PathDialogRequest {
    enum class Kind { ExistingFile, ExistingFolder };
    Kind kind = Kind::ExistingFile;
    QString caption;
    QString filter;     // empty: no filter; several are separated by ";;"
    QString objectName;
    QString startPath;  // as the wizard holds it; a file's path preselects that file
};

// Sets up a dialog for the request without showing it.
void configurePathDialog(QFileDialog& dialog, const PathDialogRequest& request);

// Shows the request's modal dialog and returns the chosen path, or an empty text when cancelled.
QString showPathDialog(QWidget* parent, const PathDialogRequest& request);
