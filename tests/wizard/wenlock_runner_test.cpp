// Tests of the conversion run: the real converter from end to end, failures, and stand-in converters on the PATH.
#include "wenlock.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace {

const QString examples = QStringLiteral(WENLOCK_EXAMPLES);
const QString initialising = QStringLiteral("Initialising Project Conversion ...\n");
const QString failureText = QStringLiteral("Project Conversion Failed!\nPlease check the details log and try again.");

QByteArray fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

// The stand-in converters are shell scripts, which Windows does not start by a program name;
// the runs of the real converter need none and run everywhere.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_STAND_INS() QSKIP("the stand-in converters are shell scripts")
#else
#define SKIP_WITHOUT_STAND_INS() (void)0
#endif

class WenlockRunnerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString settingsFile;
    QString converterProgram = QStringLiteral("Tamsel");
    QStringList failures; // caption and text of every failure box
    QByteArray originalPath;

    std::unique_ptr<Wenlock> makeWizard()
    {
        WenlockHooks hooks;
        hooks.settingsFile = settingsFile;
        hooks.converterProgram = converterProgram;
        hooks.showFailure = [this](const QString& caption, const QString& text) { failures << caption << text; };
        auto wizard = std::make_unique<Wenlock>(nullptr, nullptr, false, Qt::WindowFlags{}, hooks);
        wizard->show();
        if (!QTest::qWaitForWindowExposed(wizard.get()))
            return nullptr;
        return wizard;
    }

    // Walks pages 0 to 2 with the given entries, as a user would, and ends on page 3.
    static void fillAndGoToPage3(Wenlock& wizard, const QString& keil, const QString& destination,
                                 const QString& message, const QString& analyser, const QString& compiler)
    {
        wizard.KeilUvProjectEdit->setText(keil);
        wizard.OstraProjectEdit->setText(destination);
        QTest::keyClicks(wizard.OstraNameEdit, QStringLiteral("demo"));
        wizard.button(QWizard::NextButton)->click();
        wizard.MsgPersonEdit->setText(message);
        wizard.AnalPersonEdit->setText(analyser);
        wizard.CmpPersonEdit->setText(compiler);
        wizard.button(QWizard::NextButton)->click();
        QCOMPARE(wizard.currentPage(), wizard.Page2);
        wizard.button(QWizard::NextButton)->click();
        QCOMPARE(wizard.currentPage(), wizard.Page3);
    }

    // Puts an executable script named Tamsel first on the PATH that the wizard's child inherits.
    void installStandIn(const QByteArray& body)
    {
        const QString folder = scratch.filePath(QStringLiteral("stand-in"));
        QDir().mkpath(folder);
        QFile script(folder + QStringLiteral("/Tamsel"));
        QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write("#!/bin/sh\n" + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(folder) + ':' + originalPath);
    }

    static QString log(const Wenlock& wizard) { return wizard.DetailsText->toPlainText(); }

    // Starts a run of a converter that says nothing and waits; nullptr when it did not start.
    std::unique_ptr<Wenlock> startSilentRun()
    {
        installStandIn("exec sleep 60");
        auto wizard = makeWizard();
        if (!wizard)
            return nullptr;
        fillAndGoToPage3(*wizard, scratch.path(), scratch.path(), {}, {}, scratch.path());
        wizard->button(QWizard::FinishButton)->click();
        if (!QTest::qWaitFor([&] { return wizard->process->state() == QProcess::Running; }))
            return nullptr;
        return wizard;
    }

    // True when the process is gone; where that cannot be seen, always true.
    static bool processGone(qint64 pid)
    {
#ifdef Q_OS_LINUX
        return !QFile::exists(QStringLiteral("/proc/%1").arg(pid));
#else
        Q_UNUSED(pid);
        return true;
#endif
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        settingsFile = scratch.filePath(QStringLiteral("settings.txt"));
        originalPath = qgetenv("PATH");
    }

    void init()
    {
        failures.clear();
        converterProgram = QStringLiteral("Tamsel");
        QFile::remove(settingsFile);
    }

    void cleanup() { qputenv("PATH", originalPath); }

    void convertsTheExampleWorkspace()
    {
        QTemporaryDir destination;
        auto wizard = makeWizard();
        QVERIFY(wizard);
        const QString keil = examples + QStringLiteral("/workspace/demo.mpw");
        const QString message = examples + QStringLiteral("/personality/demo.p_s");
        const QString analyser = examples + QStringLiteral("/personality/demo.p_a");
        const QString compiler = examples + QStringLiteral("/personality/demo.p_c");
        fillAndGoToPage3(*wizard, keil, destination.path(), message, analyser, compiler);
        wizard->button(QWizard::BackButton)->click();
        wizard->cCheck->setChecked(true);
        wizard->hCheck->setChecked(true);
        wizard->CustExtEdit->setText(QStringLiteral("s,a51"));
        wizard->button(QWizard::NextButton)->click();

        QCOMPARE(log(*wizard), QStringLiteral("Keil Project:\n%1\n\nOstra / Ostra++ Project Directory:\n%2\n\n"
                                              "Ostra / Ostra++ Project Name:\ndemo\n\nMessage Personality:\n%3\n\n"
                                              "Template Analyser Personality:\n%4\n\nCompiler Personality:\n%5\n\n"
                                              "File Extensions:\nc,h,s,a51\n")
                                   .arg(keil, destination.path(), message, analyser, compiler));
        QVERIFY(wizard->button(QWizard::FinishButton)->isEnabled());

        wizard->button(QWizard::FinishButton)->click();
        QVERIFY(wizard->process);
        QCOMPARE(wizard->process->program(), QStringLiteral("Tamsel"));
        QCOMPARE(wizard->process->arguments(),
                 (QStringList{keil, destination.path(), "-cp", compiler, "-pn", "demo", "-mp", message, "-ap", analyser,
                              "-ext", "c,h,s,a51"}));
        QVERIFY(log(*wizard).startsWith(initialising));
        QVERIFY(!wizard->button(QWizard::FinishButton)->isEnabled()); // one run at a time

        QTRY_VERIFY_WITH_TIMEOUT(!wizard->runActive(), 60000);
        const QString text = log(*wizard);
        const qsizetype creating = text.indexOf(QLatin1String("\nCreating Ostra/Ostra++ Project ...\n"));
        const qsizetype group = text.indexOf(QLatin1String("\n  Creating Group - drivers\n"));
        const qsizetype completed = text.indexOf(QLatin1String("\nOstra/Ostra++ Project Completed!\n"));
        QVERIFY2(creating > 0 && group > creating && completed > group, qPrintable(text));
        QVERIFY(text.endsWith(QLatin1String("\nProject Converted Successfully!")));
        QVERIFY(failures.isEmpty());
        QVERIFY(!wizard->button(QWizard::FinishButton)->isEnabled());
        QCOMPARE(wizard->button(QWizard::CancelButton)->text(), QStringLiteral("Close"));
        QVERIFY(QFile::exists(destination.filePath(QStringLiteral("demo.prj"))));
        QCOMPARE(fileText(settingsFile),
                 QStringLiteral("Message Personality:\n%1\n\nAnalyser Personality:\n%2\n\nCompiler Personality:\n%3\n\n")
                     .arg(message, analyser, compiler)
                     .toLocal8Bit());

        // Back and Next again: a fresh summary, and Finish for another run.
        wizard->button(QWizard::BackButton)->click();
        wizard->cCheck->setChecked(false);
        wizard->button(QWizard::NextButton)->click();
        QVERIFY(log(*wizard).startsWith(QLatin1String("Keil Project:\n")));
        QVERIFY(log(*wizard).endsWith(QLatin1String("File Extensions:\nh,s,a51\n")));
        QVERIFY(wizard->button(QWizard::FinishButton)->isEnabled());
    }

    void failedRunShowsTheBox()
    {
        const QString destination = scratch.filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkpath(destination));
        auto wizard = makeWizard();
        QVERIFY(wizard);
        const QString compiler = examples + QStringLiteral("/personality/demo.p_c");
        fillAndGoToPage3(*wizard, examples + QStringLiteral("/workspace/demo.mpw"), destination, {}, {}, compiler);
        QVERIFY(QDir(destination).removeRecursively());

        wizard->button(QWizard::FinishButton)->click();
        QCOMPARE(wizard->process->arguments(),
                 (QStringList{examples + QStringLiteral("/workspace/demo.mpw"), destination, "-cp", compiler, "-pn",
                              "demo"}));
        QTRY_VERIFY_WITH_TIMEOUT(!wizard->runActive(), 60000);
        QCOMPARE(failures, (QStringList{QStringLiteral("Wenlock"), failureText}));
        QVERIFY2(log(*wizard).contains(QLatin1String("\nCould not write file: ")), qPrintable(log(*wizard)));
        QVERIFY(!log(*wizard).contains(QLatin1String("Successfully")));
        QCOMPARE(wizard->currentPage(), wizard->Page3);
        QVERIFY(wizard->button(QWizard::FinishButton)->isEnabled());
        QVERIFY(wizard->button(QWizard::CancelButton)->text() != QLatin1String("Close"));
        // Empty message and analyser fields leave only the compiler entry.
        QCOMPARE(fileText(settingsFile), QStringLiteral("Compiler Personality:\n%1\n\n").arg(compiler).toLocal8Bit());
    }

    void missingConverterIsReported()
    {
        converterProgram = QStringLiteral("Tamsel-not-installed-anywhere");
        auto wizard = makeWizard();
        QVERIFY(wizard);
        fillAndGoToPage3(*wizard, examples + QStringLiteral("/workspace/demo.mpw"), scratch.path(), {}, {},
                         examples + QStringLiteral("/personality/demo.p_c"));
        wizard->button(QWizard::FinishButton)->click();
        QTRY_COMPARE_WITH_TIMEOUT(log(*wizard),
                                  initialising
                                      + QStringLiteral("\nProject Conversion could not be executed: Please ensure "
                                                       "Tamsel.exe is set on the path.\n"),
                                  10000);
        QVERIFY(failures.isEmpty());
        QVERIFY(wizard->button(QWizard::FinishButton)->isEnabled());
        QVERIFY(!QFile::exists(settingsFile));
    }

    void argumentsArriveOneEach()
    {
        SKIP_WITHOUT_STAND_INS();
        installStandIn("for argument in \"$@\"; do printf '[%s]\\n' \"$argument\"; done");
        const QString folder = scratch.filePath(QStringLiteral("with blank"));
        QVERIFY(QDir().mkpath(folder));
        const QString keil = folder + QStringLiteral("/my project.Uv2");
        const QString compiler = folder + QStringLiteral("/my compiler.p_c");
        for (const QString& path : {keil, compiler}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        auto wizard = makeWizard();
        QVERIFY(wizard);
        fillAndGoToPage3(*wizard, keil, folder, {}, {}, compiler);
        wizard->button(QWizard::FinishButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard->runActive(), 10000);
        QTRY_VERIFY(log(*wizard).endsWith(QLatin1String("Successfully!")));
        QCOMPARE(log(*wizard), initialising + QStringLiteral("\n[%1]\n[%2]\n[-cp]\n[%3]\n[-pn]\n[demo]\n\n"
                                                             "Project Converted Successfully!")
                                                  .arg(keil, folder, compiler));
    }

    void outputIsAppendedPieceByPiece()
    {
        SKIP_WITHOUT_STAND_INS();
        installStandIn("printf 'Creating'; sleep 1; printf ' Group\\n'; exit 0");
        auto wizard = makeWizard();
        QVERIFY(wizard);
        fillAndGoToPage3(*wizard, scratch.path(), scratch.path(), {}, {}, scratch.path());
        wizard->button(QWizard::FinishButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard->runActive(), 10000);
        // One output line split over two pieces lands in two paragraphs.
        QCOMPARE(log(*wizard), initialising + QStringLiteral("\nCreating\n Group\n\nProject Converted Successfully!"));
    }

    void silentConverterKeepsTheWindowResponsiveAndCancelKillsIt()
    {
        SKIP_WITHOUT_STAND_INS();
        auto wizard = startSilentRun();
        QVERIFY(wizard);
        const qint64 pid = wizard->process->processId();

        // The window still answers while the converter says nothing.
        wizard->button(QWizard::BackButton)->click();
        QCOMPARE(wizard->currentPage(), wizard->Page2);
        QTest::keyClicks(wizard->CustExtEdit, QStringLiteral("res"));
        QCOMPARE(wizard->CustExtEdit->text(), QStringLiteral("res"));
        wizard->button(QWizard::NextButton)->click();
        QVERIFY(!wizard->button(QWizard::FinishButton)->isEnabled()); // still running: no second run
        QVERIFY(wizard->runActive());

        QElapsedTimer clock;
        clock.start();
        wizard->button(QWizard::CancelButton)->click();
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(!wizard->runActive());
        QVERIFY(!wizard->isVisible());
        QVERIFY(failures.isEmpty());
        QVERIFY(!log(*wizard).contains(QLatin1String("Successfully")));
        QVERIFY(QFile::exists(settingsFile)); // written when the killed run ended
        QVERIFY(processGone(pid));
    }

    void closingTheWizardKillsARunningConverter()
    {
        SKIP_WITHOUT_STAND_INS();
        auto wizard = startSilentRun();
        QVERIFY(wizard);
        const qint64 pid = wizard->process->processId();
        QElapsedTimer clock;
        clock.start();
        wizard.reset();
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(processGone(pid));
    }
};

QTEST_MAIN(WenlockRunnerTest)
#include "wenlock_runner_test.moc"
