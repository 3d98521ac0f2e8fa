// The wizard window: checks the pages as they are typed, offers the Browse dialogs, keeps the
// personality paths and the pack folder in its settings file and runs the converter.
#pragma once

#include "conversion_request.h"
#include "path_dialog.h"
#include "wenlock_base.h"

#include <QProcess>
#include <QString>
#include <QStringDecoder>

#include <functional>

class QLineEdit;

// What the wizard takes from its surroundings; tests point these elsewhere.
struct WenlockHooks {
    QString settingsFile = QStringLiteral("settings.txt");
    QString converterProgram = QStringLiteral("Tamsel");
    // Shows a Browse dialog; returns the chosen path, or an empty text when the user cancels.
    std::function<QString(QWidget* parent, const PathDialogRequest& request)> askPath = showPathDialog;
    // Tells the user that a run failed; returns when the user has closed the box.
    std::function<void(const QString& caption, const QString& text)> showFailure = showFailureBox;

    static void showFailureBox(const QString& caption, const QString& text);
};

// Adds all behaviour to the form: page checks, dialogs, settings and the converter run.
class Wenlock : public WenlockBase {
    Q_OBJECT

public:
    explicit Wenlock(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                     Qt::WindowFlags flags = {}, WenlockHooks hooks = {});
    ~Wenlock() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Fills page 1 from the settings file; a pack folder it does not name comes from defaultPackFolder().
    void loadSettings();
    void saveSettings();

    // The entries as the fields hold them now, with the extension list of the last step past page 2.
    ConversionEntries entries() const;

    // True while a converter started by Finish has not ended.
    bool runActive() const;

    QString extensionList;
    QProcess* process = nullptr;
    QString lastPath;

public slots:
    void KeilUvProjectBrowseBtn_clicked();
    void OstraProjectBrowseBtn_clicked();
    void Page0LineEdit_textchanged(const QString& text);
    void Page1LineEdit_textchanged(const QString& text);
    void MsgBrowseBtn_clicked();
    void AnalBrowseBtn_clicked();
    void CmpBrowseBtn_clicked();
    void PackBrowseBtn_clicked();
    void readFromStdout();
    void processExit();

protected slots:
    void accept() override;
    void reject() override;

protected:
    // The wizard asks this before each step forward: leaving page 2 prepares the summary and Finish.
    bool validateCurrentPage() override;

private:
    void browse(QLineEdit* field, PathDialogRequest request);
    void processError(QProcess::ProcessError error);
    void appendToLog(const QString& text);

    WenlockHooks hooks;
    // One decoder per run: a character split between two reads of the output is kept until it is whole.
    QStringDecoder outputDecoder;
};
