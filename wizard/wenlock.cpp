// The wizard window: page checks, the Browse dialogs and the settings file.
#include "wenlock.h"

#include "pack_folder.h"
#include "path_text.h"
#include "settings_file.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

void setTextColour(QLineEdit* edit, const QColor& colour)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::WindowText, colour);
    edit->setPalette(palette);
}

void showCheck(QLineEdit* edit, bool passed)
{
    setTextColour(edit, passed ? QColor(0, 0, 0) : QColor(255, 0, 0));
}

} // namespace

void WenlockHooks::showFailureBox(const QString& caption, const QString& text)
{
    QMessageBox::about(nullptr, caption, text);
}

Wenlock::Wenlock(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags, WenlockHooks hooks)
    : WenlockBase(parent, name, modal, flags)
    , hooks(std::move(hooks))
{
    Page0->setNextEnabled(false);
    Page1->setNextEnabled(false);
    for (WenlockPage* page : {Page0, Page1, Page2, Page3})
        page->setHelpEnabled(false);

    connect(KeilUvProjectBrowseBtn, &QPushButton::clicked, this, &Wenlock::KeilUvProjectBrowseBtn_clicked);
    connect(OstraProjectBrowseBtn, &QPushButton::clicked, this, &Wenlock::OstraProjectBrowseBtn_clicked);
    connect(KeilUvProjectEdit, &QLineEdit::textChanged, this, &Wenlock::Page0LineEdit_textchanged);
    connect(OstraProjectEdit, &QLineEdit::textChanged, this, &Wenlock::Page0LineEdit_textchanged);
    connect(OstraNameEdit, &QLineEdit::textChanged, this, &Wenlock::Page0LineEdit_textchanged);
    connect(MsgBrowseBtn, &QPushButton::clicked, this, &Wenlock::MsgBrowseBtn_clicked);
    connect(AnalBrowseBtn, &QPushButton::clicked, this, &Wenlock::AnalBrowseBtn_clicked);
    connect(CmpBrowseBtn, &QPushButton::clicked, this, &Wenlock::CmpBrowseBtn_clicked);
    connect(MsgPersonEdit, &QLineEdit::textChanged, this, &Wenlock::Page1LineEdit_textchanged);
    connect(AnalPersonEdit, &QLineEdit::textChanged, this, &Wenlock::Page1LineEdit_textchanged);
    connect(CmpPersonEdit, &QLineEdit::textChanged, this, &Wenlock::Page1LineEdit_textchanged);
    connect(PackBrowseBtn, &QPushButton::clicked, this, &Wenlock::PackBrowseBtn_clicked);
    connect(PackFolderEdit, &QLineEdit::textChanged, this, &Wenlock::Page1LineEdit_textchanged);

    for (QLineEdit* edit : {KeilUvProjectEdit, OstraProjectEdit, OstraNameEdit, MsgPersonEdit, AnalPersonEdit,
                            CmpPersonEdit, PackFolderEdit})
        edit->installEventFilter(this);

    for (WizardButton which : {NextButton, BackButton, CancelButton, FinishButton}) {
        QAbstractButton* wizardButton = button(which);
        QPalette palette(QColor("white"), QColor("white"));
        wizardButton->setPalette(palette);
        palette.setColor(QPalette::Window, QColor("white"));
        wizardButton->setPalette(palette);
    }

    // The root folder (of the current drive, on Windows).
    lastPath = QDir::toNativeSeparators(QStringLiteral("/"));
    loadSettings();
}

Wenlock::~Wenlock()
{
    // A converter still running is killed; its end must not reach this half-destroyed window.
    for (QProcess* child : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
        child->disconnect(this);
        if (child->state() != QProcess::NotRunning) {
            child->kill();
            child->waitForFinished(3000);
        }
    }
}

bool Wenlock::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        if (watched == KeilUvProjectEdit || watched == OstraProjectEdit || watched == OstraNameEdit) {
            Page0LineEdit_textchanged(QString());
            return false;
        }
        if (watched == MsgPersonEdit || watched == AnalPersonEdit || watched == CmpPersonEdit
            || watched == PackFolderEdit) {
            Page1LineEdit_textchanged(QString());
            return false;
        }
    }
    return WenlockBase::eventFilter(watched, event);
}

void Wenlock::Page0LineEdit_textchanged(const QString&)
{
    const bool projectFound = pathExists(KeilUvProjectEdit->text());
    const bool folderFound = pathExists(OstraProjectEdit->text());
    showCheck(KeilUvProjectEdit, projectFound);
    showCheck(OstraProjectEdit, folderFound);
    Page0->setNextEnabled(projectFound && folderFound && !OstraNameEdit->text().isEmpty());
}

void Wenlock::Page1LineEdit_textchanged(const QString&)
{
    bool good = true;
    // Message and analyser personalities are optional: an empty field keeps its colour.
    for (QLineEdit* optional : {MsgPersonEdit, AnalPersonEdit}) {
        if (optional->text().isEmpty())
            continue;
        const bool found = pathExists(optional->text());
        showCheck(optional, found);
        good = good && found;
    }
    const bool compilerFound = pathExists(CmpPersonEdit->text());
    showCheck(CmpPersonEdit, compilerFound);
    // A pack folder that is not there turns red so that a typo shows, but never holds Next back: the
    // converter reports each pack it cannot find and converts the rest.
    if (!PackFolderEdit->text().isEmpty())
        showCheck(PackFolderEdit, QFileInfo(hostPath(PackFolderEdit->text())).isDir());
    Page1->setNextEnabled(good && compilerFound);
}

void Wenlock::browse(QLineEdit* field, PathDialogRequest request)
{
    request.startPath = lastPath;
    const QString chosen = QDir::toNativeSeparators(hooks.askPath(this, request));
    if (chosen.isEmpty())
        return;
    lastPath = chosen;
    field->setText(chosen);
}

void Wenlock::KeilUvProjectBrowseBtn_clicked()
{
    // Workspaces (.mpw) have no "Uv" in their names; the second filter offers them beside the XML projects.
    const QString filters = tr("Keil Uv  Project (*Uv*)") + QLatin1String(";;")
        + tr("Keil workspaces and XML projects (*.mpw *.uvproj *.uvprojx *.uvmpw)") + QLatin1String(";;")
        + tr("All files (*)");
    browse(KeilUvProjectEdit, {PathDialogRequest::Kind::ExistingFile, tr("Select a Keil Uv* Project"), filters,
                               QStringLiteral("open file dialog"), {}});
}

void Wenlock::OstraProjectBrowseBtn_clicked()
{
    browse(OstraProjectEdit, {PathDialogRequest::Kind::ExistingFolder,
                              tr("Select the Ostra/Ostra++ Project Destination Directory"), {},
                              QStringLiteral("get existing directory"), {}});
}

void Wenlock::MsgBrowseBtn_clicked()
{
    browse(MsgPersonEdit, {PathDialogRequest::Kind::ExistingFile, tr("Select a Message Personality"),
                           tr("Msg Personalities(*.p_s)"), QStringLiteral("open file dialog"), {}});
}

void Wenlock::AnalBrowseBtn_clicked()
{
    browse(AnalPersonEdit, {PathDialogRequest::Kind::ExistingFile, tr("Select a Template Analyser Personality"),
                            tr("Analiser Personalities(*.p_a)"), QStringLiteral("open file dialog"), {}});
}

void Wenlock::CmpBrowseBtn_clicked()
{
    browse(CmpPersonEdit, {PathDialogRequest::Kind::ExistingFile, tr("Select a Compiler Personality"),
                           tr("Cmp Personalities(*.p_c)"), QStringLiteral("open file dialog"), {}});
}

void Wenlock::PackBrowseBtn_clicked()
{
    browse(PackFolderEdit, {PathDialogRequest::Kind::ExistingFolder, tr("Select the Pack Folder"), {},
                            QStringLiteral("get existing directory"), {}});
}

void Wenlock::loadSettings()
{
    const PersonalitySettings settings = readSettingsFile(hooks.settingsFile);
    if (settings.message)
        MsgPersonEdit->setText(*settings.message);
    if (settings.analyser)
        AnalPersonEdit->setText(*settings.analyser);
    if (settings.compiler)
        CmpPersonEdit->setText(*settings.compiler);
    // The file names a pack folder only when one was used; an empty one names none.
    const bool remembered = settings.packFolder && !settings.packFolder->isEmpty();
    PackFolderEdit->setText(remembered ? *settings.packFolder : defaultPackFolder());
}

void Wenlock::saveSettings()
{
    writeSettingsFile(hooks.settingsFile, MsgPersonEdit->text(), AnalPersonEdit->text(), CmpPersonEdit->text(),
                      PackFolderEdit->text());
}
