// Tests of the wizard's behaviour: page checks, colours, Next states, dialogs and settings at start.
#include "wenlock.h"

#include "path_text.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QColor red(255, 0, 0);
const QColor black(0, 0, 0);

void writeFile(const QString& path, const QByteArray& content = {})
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QColor textColour(const QLineEdit* edit)
{
    return edit->palette().color(QPalette::Text);
}

// Sets an environment variable, or unsets it for a null value, until the guard goes.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const QString& value)
        : name(name)
        , wasSet(qEnvironmentVariableIsSet(name))
        , previous(qgetenv(name))
    {
        set(value);
    }
    ~EnvironmentGuard()
    {
        if (wasSet)
            qputenv(name, previous);
        else
            qunsetenv(name);
    }
    void set(const QString& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }

private:
    const char* name;
    bool wasSet;
    QByteArray previous;
};

} // namespace

class WenlockTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString existingFile;   // a compiler personality
    QString existingFolder; // a destination
    QString missingPath;
    QList<PathDialogRequest> requests;
    QStringList answers;
    // The pack folder field starts empty in every test but the one that sets these itself.
    std::unique_ptr<EnvironmentGuard> packRootVariable;
    std::unique_ptr<EnvironmentGuard> localDataVariable;
    const QStringList keilFolderNames{"demo.Uv2", "old.UV2",   "app.uvproj", "APP2.UVPROJX",     "set.uvmpw",
                                      "ws.mpw",   "OLD.MPW",   "notes.txt",  "Uvision notes.txt"};

    // "FILE", "DIR" and "MISSING" in table rows stand for the paths made in initTestCase.
    QString resolve(const QString& text) const
    {
        QString result = text;
        result.replace(QLatin1String("MISSING"), missingPath);
        result.replace(QLatin1String("FILE"), existingFile);
        result.replace(QLatin1String("DIR"), existingFolder);
        return result;
    }

    std::unique_ptr<Wenlock> makeWizard(const QByteArray* settings = nullptr)
    {
        const QString settingsFile = scratch.filePath(QStringLiteral("settings.txt"));
        QFile::remove(settingsFile);
        if (settings)
            writeFile(settingsFile, *settings);
        WenlockHooks hooks;
        hooks.settingsFile = settingsFile;
        hooks.askPath = [this](QWidget*, const PathDialogRequest& request) {
            requests << request;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        hooks.showFailure = [](const QString&, const QString&) { QFAIL("no run in these tests"); };
        auto wizard = std::make_unique<Wenlock>(nullptr, nullptr, false, Qt::WindowFlags{}, hooks);
        wizard->show();
        if (!QTest::qWaitForWindowExposed(wizard.get()))
            return nullptr;
        return wizard;
    }

    // Fills page 0 with usable entries and steps to page 1.
    static void goToPage1(Wenlock& wizard, const QString& file, const QString& folder)
    {
        wizard.KeilUvProjectEdit->setText(file);
        wizard.OstraProjectEdit->setText(folder);
        wizard.OstraNameEdit->setText(QStringLiteral("demo"));
        wizard.button(QWizard::NextButton)->click();
        QCOMPARE(wizard.currentPage(), wizard.Page1);
    }

    static bool nextEnabled(const Wenlock& wizard) { return wizard.button(QWizard::NextButton)->isEnabled(); }

private slots:
    void initTestCase()
    {
        // The toolkit's own dialogs on every platform, so the tests can work them.
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(scratch.isValid());
        existingFile = scratch.filePath(QStringLiteral("demo.p_c"));
        writeFile(existingFile, "-i\\inc\n");
        existingFolder = scratch.filePath(QStringLiteral("out dir"));
        QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("out dir")));
        missingPath = scratch.filePath(QStringLiteral("missing.p_c"));
        packRootVariable = std::make_unique<EnvironmentGuard>("CMSIS_PACK_ROOT", QString());
        localDataVariable = std::make_unique<EnvironmentGuard>("LOCALAPPDATA", scratch.path()); // holds no Arm\Packs
    }

    void cleanupTestCase()
    {
        packRootVariable.reset();
        localDataVariable.reset();
    }

    void init()
    {
        requests.clear();
        answers.clear();
    }

    void startState()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        QCOMPARE(wizard->currentPage(), wizard->Page0);
        QVERIFY(!nextEnabled(*wizard));
        QVERIFY(!wizard->button(QWizard::BackButton)->isEnabled());
        QVERIFY(!wizard->button(QWizard::FinishButton)->isEnabled());
        QVERIFY(wizard->button(QWizard::CancelButton)->isEnabled());
        QVERIFY(wizard->button(QWizard::HelpButton)->isVisible());
        QVERIFY(!wizard->button(QWizard::HelpButton)->isEnabled());
        QCOMPARE(wizard->lastPath, QString(QDir::separator())); // the root folder
        QVERIFY(wizard->extensionList.isEmpty());
        QVERIFY(!wizard->process);
        for (QWizard::WizardButton which :
             {QWizard::NextButton, QWizard::BackButton, QWizard::CancelButton, QWizard::FinishButton})
            QCOMPARE(wizard->button(which)->palette().color(QPalette::Button), QColor(Qt::white));
    }

    void buttonsOfEachPage()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        goToPage1(*wizard, existingFile, existingFolder);
        wizard->CmpPersonEdit->setText(existingFile);
        for (int page = 1; page <= 3; ++page) {
            QCOMPARE(wizard->currentId(), page);
            QVERIFY(wizard->button(QWizard::BackButton)->isEnabled());
            QVERIFY(!wizard->button(QWizard::HelpButton)->isEnabled());
            QCOMPARE(nextEnabled(*wizard), page < 3);
            QCOMPARE(wizard->button(QWizard::FinishButton)->isEnabled(), page == 3);
            wizard->button(QWizard::NextButton)->click();
        }
    }

    void page0Check_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("projectRed");
        QTest::addColumn<bool>("folderRed");
        QTest::newRow("all usable") << "FILE" << "DIR" << "demo" << true << false << false;
        QTest::newRow("empty name") << "FILE" << "DIR" << "" << false << false << false;
        QTest::newRow("missing project") << "MISSING" << "DIR" << "demo" << false << true << false;
        QTest::newRow("missing folder") << "FILE" << "MISSING" << "demo" << false << false << true;
        QTest::newRow("only existence is tested") << "DIR" << "FILE" << "demo" << true << false << false;
        QTest::newRow("empty paths") << "" << "" << "demo" << false << true << true;
        QTest::newRow("name of blanks counts") << "FILE" << "DIR" << " " << true << false << false;
    }

    void page0Check()
    {
        QFETCH(QString, project);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        auto wizard = makeWizard();
        QVERIFY(wizard);
        wizard->OstraNameEdit->setText(name);
        wizard->KeilUvProjectEdit->setText(resolve(project));
        wizard->OstraProjectEdit->setText(resolve(folder));
        wizard->Page0LineEdit_textchanged(QString()); // the empty rows change no text
        QTEST(nextEnabled(*wizard), "next");
        QTEST(textColour(wizard->KeilUvProjectEdit) == red, "projectRed");
        QTEST(textColour(wizard->OstraProjectEdit) == red, "folderRed");
        QCOMPARE(wizard->KeilUvProjectEdit->text(), resolve(project));
    }

    void page0TakesBackslashPaths()
    {
#ifdef Q_OS_WIN
        QSKIP("backslashes are the host's own separator");
#endif
        auto wizard = makeWizard();
        QVERIFY(wizard);
        const QString project = QString(existingFile).replace(QLatin1Char('/'), QLatin1Char('\\'));
        wizard->KeilUvProjectEdit->setText(project);
        wizard->OstraProjectEdit->setText(QString(existingFolder).replace(QLatin1Char('/'), QLatin1Char('\\')));
        wizard->OstraNameEdit->setText(QStringLiteral("demo"));
        QVERIFY(nextEnabled(*wizard));
        QCOMPARE(wizard->KeilUvProjectEdit->text(), project); // shown as typed
    }

    void typingChecksPage0()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        wizard->KeilUvProjectEdit->setText(existingFile);
        wizard->OstraProjectEdit->setText(existingFolder);
        QVERIFY(!nextEnabled(*wizard));
        QTest::keyClicks(wizard->OstraNameEdit, QStringLiteral("d"));
        QVERIFY(nextEnabled(*wizard));

        QTest::keyClick(wizard->OstraProjectEdit, Qt::Key_End);
        QTest::keyClick(wizard->OstraProjectEdit, Qt::Key_Backspace);
        QCOMPARE(wizard->OstraProjectEdit->text(), existingFolder.chopped(1));
        QCOMPARE(textColour(wizard->OstraProjectEdit), red);
        QVERIFY(!nextEnabled(*wizard));
    }

    void keyReleaseRechecks()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        const QString later = scratch.filePath(QStringLiteral("made later.Uv2"));
        wizard->KeilUvProjectEdit->setText(later);
        wizard->CmpPersonEdit->setText(later);
        QCOMPARE(textColour(wizard->KeilUvProjectEdit), red);
        QCOMPARE(textColour(wizard->CmpPersonEdit), red);

        writeFile(later);
        // The text does not change; a released key alone runs the page's check again.
        QTest::keyRelease(wizard->KeilUvProjectEdit, Qt::Key_Shift);
        QCOMPARE(textColour(wizard->KeilUvProjectEdit), black);
        QCOMPARE(textColour(wizard->CmpPersonEdit), red);
        QTest::keyRelease(wizard->CmpPersonEdit, Qt::Key_Shift);
        QCOMPARE(textColour(wizard->CmpPersonEdit), black);
        QFile::remove(later);

        const QString laterFolder = scratch.filePath(QStringLiteral("packs made later"));
        wizard->PackFolderEdit->setText(laterFolder);
        QCOMPARE(textColour(wizard->PackFolderEdit), red);
        QVERIFY(QDir().mkdir(laterFolder));
        QTest::keyRelease(wizard->PackFolderEdit, Qt::Key_Shift);
        QCOMPARE(textColour(wizard->PackFolderEdit), black);
        QVERIFY(QDir().rmdir(laterFolder));
    }

    void page1Check_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("analyser");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("pack");
        QTest::addColumn<bool>("next");
        QTest::addColumn<QString>("colours"); // message, analyser, compiler, pack: r(ed), b(lack), -(untouched)
        QTest::newRow("compiler only") << "" << "" << "FILE" << "" << true << "--b-";
        QTest::newRow("no compiler") << "" << "" << "" << "" << false << "--r-";
        QTest::newRow("missing compiler") << "" << "" << "MISSING" << "" << false << "--r-";
        QTest::newRow("missing message") << "MISSING" << "" << "FILE" << "" << false << "r-b-";
        QTest::newRow("missing analyser") << "" << "MISSING" << "FILE" << "" << false << "-rb-";
        QTest::newRow("all three") << "FILE" << "FILE" << "FILE" << "" << true << "bbb-";
        QTest::newRow("folders exist too") << "DIR" << "DIR" << "DIR" << "" << true << "bbb-";
        QTest::newRow("existing pack folder") << "" << "" << "FILE" << "DIR" << true << "--bb";
        // The converter reports each pack it cannot find and goes on: red for a typo, but Next stays.
        QTest::newRow("missing pack folder holds nothing back") << "" << "" << "FILE" << "MISSING" << true << "--br";
        QTest::newRow("a file is no pack folder") << "" << "" << "FILE" << "FILE" << true << "--br";
        QTest::newRow("pack folder with no compiler") << "" << "" << "" << "DIR" << false << "--rb";
    }

    void page1Check()
    {
        QFETCH(QString, message);
        QFETCH(QString, analyser);
        QFETCH(QString, compiler);
        QFETCH(QString, colours);
        auto wizard = makeWizard();
        QVERIFY(wizard);
        const QColor untouched = textColour(wizard->MsgPersonEdit);
        goToPage1(*wizard, existingFile, existingFolder);
        wizard->MsgPersonEdit->setText(resolve(message));
        wizard->AnalPersonEdit->setText(resolve(analyser));
        wizard->CmpPersonEdit->setText(resolve(compiler));
        QFETCH(QString, pack);
        wizard->PackFolderEdit->setText(resolve(pack));
        wizard->Page1LineEdit_textchanged(QString());
        QTEST(nextEnabled(*wizard), "next");
        const QList<QLineEdit*> edits{wizard->MsgPersonEdit, wizard->AnalPersonEdit, wizard->CmpPersonEdit,
                                      wizard->PackFolderEdit};
        for (int i = 0; i < edits.size(); ++i) {
            const QColor expected = colours[i] == QLatin1Char('r') ? red
                : colours[i] == QLatin1Char('b')                  ? black
                                                                  : untouched;
            QCOMPARE(textColour(edits[i]), expected);
        }
    }

    void emptiedOptionalFieldKeepsItsColour()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        wizard->CmpPersonEdit->setText(existingFile);
        wizard->MsgPersonEdit->setText(missingPath);
        QVERIFY(!wizard->Page1->nextEnabled());
        wizard->MsgPersonEdit->clear();
        QCOMPARE(textColour(wizard->MsgPersonEdit), red);
        QVERIFY(wizard->Page1->nextEnabled());
    }

    void settingsAtStart_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<bool>("compilerRed");
        QTest::addColumn<bool>("next");
        QTest::newRow("existing compiler") << QByteArray("Compiler Personality:\nFILE\n\n") << "FILE" << false << true;
        QTest::newRow("missing compiler") << QByteArray("Compiler Personality:\nMISSING\n\n") << "MISSING" << true
                                          << false;
        QTest::newRow("key with trailing blank") << QByteArray("Compiler Personality: \nFILE\n\n") << "" << false
                                                 << false;
        QTest::newRow("message missing, compiler fine")
            << QByteArray("Message Personality:\nMISSING\n\nCompiler Personality:\nFILE\n\n") << "FILE" << false
            << false;
    }

    void settingsAtStart()
    {
        QFETCH(QByteArray, settings);
        const QByteArray text = resolve(QString::fromLocal8Bit(settings)).toLocal8Bit();
        auto wizard = makeWizard(&text);
        QVERIFY(wizard);
        QFETCH(QString, compiler);
        QCOMPARE(wizard->CmpPersonEdit->text(), resolve(compiler));
        QTEST(textColour(wizard->CmpPersonEdit) == red, "compilerRed");
        goToPage1(*wizard, existingFile, existingFolder);
        QTEST(nextEnabled(*wizard), "next");
    }

    void noSettingsFileLeavesFieldsEmpty()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        for (QLineEdit* edit : {wizard->MsgPersonEdit, wizard->AnalPersonEdit, wizard->CmpPersonEdit,
                                wizard->PackFolderEdit})
            QVERIFY(edit->text().isEmpty());
    }

    void packFolderAtStart_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("packRoot");    // CMSIS_PACK_ROOT; null: unset
        QTest::addColumn<bool>("localPacks");     // %LOCALAPPDATA%\Arm\Packs exists
        QTest::addColumn<QString>("expected");    // LOCAL: that folder
        const QString unset;
        // Shown in the platform's own separators, as a Browse dialog gives a folder.
        const QString fromEnvironment = QDir::toNativeSeparators(QStringLiteral("/env/packs"));
        QTest::newRow("nothing anywhere") << QByteArray() << unset << false << "";
        QTest::newRow("the remembered folder first, as remembered")
            << QByteArray("Pack Folder:\nDIR\n\n") << "/env/packs" << true << "DIR";
        QTest::newRow("an empty remembered folder names none")
            << QByteArray("Pack Folder:\n\n") << "/env/packs" << false << fromEnvironment;
        QTest::newRow("then the environment") << QByteArray("Compiler Personality:\nFILE\n\n") << "/env/packs"
                                              << true << fromEnvironment;
        QTest::newRow("an empty environment variable counts as unset") << QByteArray() << "" << false << "";
#ifdef Q_OS_WIN
        QTest::newRow("then the user's local pack folder") << QByteArray() << unset << true << "LOCAL";
        QTest::newRow("after an empty environment variable too") << QByteArray() << "" << true << "LOCAL";
#else
        QTest::newRow("the local application data folder is Windows' alone") << QByteArray() << unset << true << "";
#endif
    }

    void packFolderAtStart()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, packRoot);
        QFETCH(bool, localPacks);
        QFETCH(QString, expected);
        QTemporaryDir local;
        if (localPacks)
            QVERIFY(QDir(local.path()).mkpath(QStringLiteral("Arm/Packs")));
        packRootVariable->set(packRoot);
        localDataVariable->set(QDir::toNativeSeparators(local.path()));
        const QByteArray text = resolve(QString::fromLocal8Bit(settings)).toLocal8Bit();
        auto wizard = makeWizard(settings.isEmpty() ? nullptr : &text);
        // Back to the suite's environment before anything can fail.
        packRootVariable->set(QString());
        localDataVariable->set(scratch.path());
        QVERIFY(wizard);

        const QString shown = expected == QLatin1String("LOCAL")
            ? QDir::toNativeSeparators(local.filePath(QStringLiteral("Arm/Packs")))
            : resolve(expected);
        QCOMPARE(wizard->PackFolderEdit->text(), shown);
        // A pack folder offered at start never holds Next back, even one that is not there.
        goToPage1(*wizard, existingFile, existingFolder);
        wizard->CmpPersonEdit->setText(existingFile);
        QVERIFY(nextEnabled(*wizard));
    }

    void dialogs_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("dialogName");
        QTest::newRow("Keil project") << "KeilUvProjectBrowseBtn" << "KeilUvProjectEdit" << false
                                      << "Select a Keil Uv* Project"
                                      << "Keil Uv  Project (*Uv*);;Keil workspaces and XML projects (*.mpw *.uvproj "
                                         "*.uvprojx *.uvmpw);;All files (*)"
                                      << "open file dialog";
        QTest::newRow("destination") << "OstraProjectBrowseBtn" << "OstraProjectEdit" << true
                                     << "Select the Ostra/Ostra++ Project Destination Directory" << ""
                                     << "get existing directory";
        QTest::newRow("message") << "MsgBrowseBtn" << "MsgPersonEdit" << false << "Select a Message Personality"
                                 << "Msg Personalities(*.p_s)" << "open file dialog";
        QTest::newRow("analyser") << "AnalBrowseBtn" << "AnalPersonEdit" << false
                                  << "Select a Template Analyser Personality" << "Analiser Personalities(*.p_a)"
                                  << "open file dialog";
        QTest::newRow("compiler") << "CmpBrowseBtn" << "CmpPersonEdit" << false << "Select a Compiler Personality"
                                  << "Cmp Personalities(*.p_c)" << "open file dialog";
        QTest::newRow("pack folder") << "PackBrowseBtn" << "PackFolderEdit" << true << "Select the Pack Folder" << ""
                                     << "get existing directory";
    }

    void dialogs()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(bool, folder);
        auto wizard = makeWizard();
        QVERIFY(wizard);
        answers << QStringLiteral("/chosen/one/x.y") << QStringLiteral("C:/chosen/two");
        auto* browse = wizard->findChild<QAbstractButton*>(button);
        auto* edit = wizard->findChild<QLineEdit*>(field);
        QVERIFY(browse && edit);

        browse->click();
        QCOMPARE(requests.size(), 1);
        const PathDialogRequest& first = requests.constFirst();
        QCOMPARE(first.kind == PathDialogRequest::Kind::ExistingFolder, folder);
        QTEST(first.caption, "caption");
        QTEST(first.filter, "filter");
        QTEST(first.objectName, "dialogName");
        QCOMPARE(first.startPath, QString(QDir::separator()));
        // The platform's own separators: "\\" on Windows, "/" elsewhere.
        const QString chosen = QDir::toNativeSeparators(QStringLiteral("/chosen/one/x.y"));
        QCOMPARE(edit->text(), chosen);
        QCOMPARE(wizard->lastPath, chosen);

        // Every dialog opens where the last one ended.
        wizard->CmpBrowseBtn->click();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests.constLast().startPath, chosen);
        QCOMPARE(wizard->CmpPersonEdit->text(), QDir::toNativeSeparators(QStringLiteral("C:/chosen/two")));
    }

    void cancelledDialogChangesNothing()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        answers << QStringLiteral("/first/choice.p_a");
        wizard->AnalBrowseBtn->click();
        wizard->AnalBrowseBtn->click(); // no answer left: cancelled
        QCOMPARE(requests.size(), 2);
        QCOMPARE(wizard->AnalPersonEdit->text(), QDir::toNativeSeparators(QStringLiteral("/first/choice.p_a")));
        QCOMPARE(wizard->lastPath, QDir::toNativeSeparators(QStringLiteral("/first/choice.p_a")));
    }

    void browsingRechecksPage1AtOnce()
    {
        auto wizard = makeWizard();
        QVERIFY(wizard);
        goToPage1(*wizard, existingFile, existingFolder);
        wizard->CmpPersonEdit->setText(existingFile);
        QVERIFY(nextEnabled(*wizard));
        answers << missingPath;
        wizard->AnalBrowseBtn->click();
        QCOMPARE(textColour(wizard->AnalPersonEdit), red);
        QVERIFY(!nextEnabled(*wizard));
        answers << existingFile;
        wizard->AnalBrowseBtn->click();
        QCOMPARE(textColour(wizard->AnalPersonEdit), black);
        QVERIFY(nextEnabled(*wizard));
    }

    void realDialogFillsTheField()
    {
        // The default hooks show the toolkit's own dialog; pick a file in it as a user would.
        QFile::remove(scratch.filePath(QStringLiteral("settings.txt")));
        WenlockHooks hooks;
        hooks.settingsFile = scratch.filePath(QStringLiteral("settings.txt"));
        Wenlock wizard(nullptr, nullptr, false, {}, hooks);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        wizard.lastPath = QDir::toNativeSeparators(existingFile);

        QString caption;
        QTimer::singleShot(0, this, [&caption] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QLatin1String("open file dialog"))
                return;
            caption = dialog->windowTitle();
            static_cast<QDialog*>(dialog)->accept(); // the file of lastPath is preselected
        });
        wizard.CmpBrowseBtn->click();
        QCOMPARE(caption, QStringLiteral("Select a Compiler Personality"));
        QCOMPARE(wizard.CmpPersonEdit->text(), QDir::toNativeSeparators(existingFile));
        QCOMPARE(textColour(wizard.CmpPersonEdit), black);
    }

    void keilFilters_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("shown");
        // A workspace named *.mpw has no "uv" in its name: the second filter offers it.
        QTest::newRow("Keil Uv project, any letter case")
            << 0 << QStringList{"APP2.UVPROJX", "Uvision notes.txt", "app.uvproj", "demo.Uv2", "old.UV2", "set.uvmpw"};
        QTest::newRow("workspaces and XML projects, any letter case")
            << 1 << QStringList{"APP2.UVPROJX", "OLD.MPW", "app.uvproj", "set.uvmpw", "ws.mpw"};
        QTest::newRow("all files") << 2 << keilFolderNames;
    }

    void keilFilters()
    {
        QFETCH(int, filter);
        QFETCH(QStringList, shown);
        QTemporaryDir folder;
        for (const QString& name : keilFolderNames)
            writeFile(folder.filePath(name));
        auto wizard = makeWizard();
        QVERIFY(wizard);
        wizard->KeilUvProjectBrowseBtn->click();
        QCOMPARE(requests.size(), 1);

        // The Keil Browse button's own dialog, opened in that folder.
        PathDialogRequest request = requests.constFirst();
        request.startPath = QDir::toNativeSeparators(folder.path()) + QDir::separator();
        QFileDialog dialog;
        configurePathDialog(dialog, request);
        // The toolkit's dialog shows its filters with runs of blanks collapsed.
        QCOMPARE(dialog.nameFilters(),
                 (QStringList{"Keil Uv Project (*Uv*)",
                              "Keil workspaces and XML projects (*.mpw *.uvproj *.uvprojx *.uvmpw)", "All files (*)"}));
        dialog.selectNameFilter(dialog.nameFilters().at(filter));
        dialog.show();
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        QVERIFY(list && list->model());
        QStringList listed;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                listed.clear();
                for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
                    listed << list->model()->index(row, 0, list->rootIndex()).data().toString();
                return listed.size() >= shown.size();
            }(),
            5000);
        listed.sort();
        shown.sort();
        QCOMPARE(listed, shown);
    }
};

QTEST_MAIN(WenlockTest)
#include "wenlock_test.moc"
