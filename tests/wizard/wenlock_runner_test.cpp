// Tests of the conversion run: the real converter from end to end, failures, and a stand-in converter.
#include "wenlock.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <signal.h>
#endif

namespace {

// The fields take paths in the platform's own form, as the Browse dialogs give them.
QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

const QString examples = native(QStringLiteral(WENLOCK_EXAMPLES));
const QString initialising = QStringLiteral("Initialising Project Conversion ...\n");
const QString failureText = QStringLiteral("Project Conversion Failed!\nPlease check the details log and try again.");

QByteArray fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class WenlockRunnerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString settingsFile;
    QString converterProgram = QStringLiteral("Tamsel");
    QStringList failures; // caption and text of every failure box

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

    // The next wizard runs the stand-in converter, which follows this plan (see converter_stand_in.cpp).
    void useStandIn(const QByteArray& plan)
    {
        converterProgram = QStringLiteral(WENLOCK_STAND_IN);
        qputenv("WENLOCK_STAND_IN", plan);
    }

    static QByteArray writeStep(const QByteArray& bytes) { return "out:" + bytes.toHex(); }

    static QString log(const Wenlock& wizard) { return wizard.DetailsText->toPlainText(); }

    // Starts a run of a converter that says nothing and waits; nullptr when it did not start.
    std::unique_ptr<Wenlock> startSilentRun()
    {
        useStandIn("wait:60000");
        auto wizard = makeWizard();
        if (!wizard)
            return nullptr;
        fillAndGoToPage3(*wizard, scratch.path(), scratch.path(), {}, {}, scratch.path());
        wizard->button(QWizard::FinishButton)->click();
        if (!QTest::qWaitFor([&] { return wizard->process->state() == QProcess::Running; }))
            return nullptr;
        return wizard;
    }

    // True when no process with this id is left, not even one that has ended but was not yet reaped.
    static bool processGone(qint64 pid)
    {
#ifdef Q_OS_WIN
        HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
        if (!handle)
            return true;
        const bool ended = WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        CloseHandle(handle);
        return ended;
#else
        return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
#endif
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        settingsFile = scratch.filePath(QStringLiteral("settings.txt"));
        // The wizard finds the converter built here by its name, through the search path its child inherits.
        const QByteArray folder = QFile::encodeName(native(QStringLiteral(WENLOCK_CONVERTER_DIR)));
        qputenv("PATH", folder + QDir::listSeparator().toLatin1() + qgetenv("PATH"));
        // No pack folder from the machine: the field starts empty unless a case fills it.
        qunsetenv("CMSIS_PACK_ROOT");
        qputenv("LOCALAPPDATA", QFile::encodeName(native(scratch.path())));
    }

    void init()
    {
        failures.clear();
        converterProgram = QStringLiteral("Tamsel");
        QFile::remove(settingsFile);
    }

    void cleanup() { qunsetenv("WENLOCK_STAND_IN"); }

    void convertsTheExampleWorkspace()
    {
        QTemporaryDir destination;
        auto wizard = makeWizard();
        QVERIFY(wizard);
        const QString keil = native(examples + QStringLiteral("/workspace/demo.mpw"));
        const QString message = native(examples + QStringLiteral("/personality/demo.p_s"));
        const QString analyser = native(examples + QStringLiteral("/personality/demo.p_a"));
        const QString compiler = native(examples + QStringLiteral("/personality/demo.p_c"));
        fillAndGoToPage3(*wizard, keil, native(destination.path()), message, analyser, compiler);
        wizard->button(QWizard::BackButton)->click();
        wizard->cCheck->setChecked(true);
        wizard->hCheck->setChecked(true);
        wizard->CustExtEdit->setText(QStringLiteral("s,a51"));
        wizard->button(QWizard::NextButton)->click();

        QCOMPARE(log(*wizard), QStringLiteral("Keil Project:\n%1\n\nOstra / Ostra++ Project Directory:\n%2\n\n"
                                              "Ostra / Ostra++ Project Name:\ndemo\n\nMessage Personality:\n%3\n\n"
                                              "Template Analyser Personality:\n%4\n\nCompiler Personality:\n%5\n\n"
                                              "File Extensions:\nc,h,s,a51\n")
                                   .arg(keil, native(destination.path()), message, analyser, compiler));
        QVERIFY(wizard->button(QWizard::FinishButton)->isEnabled());

        wizard->button(QWizard::FinishButton)->click();
        QVERIFY(wizard->process);
        QCOMPARE(wizard->process->program(), QStringLiteral("Tamsel"));
        QCOMPARE(wizard->process->arguments(),
                 (QStringList{keil, native(destination.path()), "-cp", compiler, "-pn", "demo", "-mp", message, "-ap",
                              analyser, "-ext", "c,h,s,a51"}));
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
        const QString destination = native(scratch.filePath(QStringLiteral("gone")));
        QVERIFY(QDir().mkpath(destination));
        auto wizard = makeWizard();
        QVERIFY(wizard);
        const QString keil = native(examples + QStringLiteral("/workspace/demo.mpw"));
        const QString compiler = native(examples + QStringLiteral("/personality/demo.p_c"));
        fillAndGoToPage3(*wizard, keil, destination, {}, {}, compiler);
        QVERIFY(QDir(destination).removeRecursively());

        wizard->button(QWizard::FinishButton)->click();
        QCOMPARE(wizard->process->arguments(), (QStringList{keil, destination, "-cp", compiler, "-pn", "demo"}));
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
        fillAndGoToPage3(*wizard, native(examples + QStringLiteral("/workspace/demo.mpw")), native(scratch.path()), {},
                         {}, native(examples + QStringLiteral("/personality/demo.p_c")));
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
        useStandIn("args");
        const QString folder = native(scratch.filePath(QStringLiteral("with blank")));
        QVERIFY(QDir().mkpath(folder));
        const QString keil = native(folder + QStringLiteral("/my project.Uv2"));
        const QString compiler = native(folder + QStringLiteral("/my compiler.p_c"));
        for (const QString& path : {keil, compiler}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // A pack folder that is not there holds nothing back; it goes last, as typed, blanks and all.
        const QString packs = native(folder + QStringLiteral("/no such packs "));
        auto wizard = makeWizard();
        QVERIFY(wizard);
        wizard->PackFolderEdit->setText(packs);
        fillAndGoToPage3(*wizard, keil, folder, {}, {}, compiler);
        QVERIFY(log(*wizard).endsWith(QStringLiteral("\n\nPack Folder:\n%1\n\nFile Extensions:\n\n").arg(packs)));
        wizard->button(QWizard::FinishButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard->runActive(), 10000);
        QTRY_VERIFY(log(*wizard).endsWith(QLatin1String("Successfully!")));
        QCOMPARE(log(*wizard), initialising
                                   + QStringLiteral("\n[%1]\n[%2]\n[-cp]\n[%3]\n[-pn]\n[demo]\n[-pack]\n[%4]\n\n"
                                                    "Project Converted Successfully!")
                                         .arg(keil, folder, compiler, packs));
        // Kept for the next start, after the personalities.
        QCOMPARE(fileText(settingsFile), QStringLiteral("Compiler Personality:\n%1\n\nPack Folder:\n%2\n\n")
                                             .arg(compiler, packs)
                                             .toLocal8Bit());
    }

    void outputIsAppendedPieceByPiece_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("splitAt");      // the character before which the first piece ends...
        QTest::addColumn<bool>("intoCharacter"); // ...or one byte into it, where it takes more than one byte
        QTest::newRow("line split between words") << "Creating Group\n" << 8 << false;
        QTest::newRow("character split between reads")
            << QStringLiteral("  Creating Group - Ölmühle\n") << 22 << true;
    }

    void outputIsAppendedPieceByPiece()
    {
        QFETCH(QString, output);
        QFETCH(int, splitAt);
        QFETCH(bool, intoCharacter);
        // The converter writes names in the system's local 8-bit encoding.
        QStringEncoder encode(QStringEncoder::System);
        QByteArray first = encode(output.left(splitAt));
        QByteArray second = encode(output.mid(splitAt));
        const qsizetype characterBytes = QByteArray(encode(output.mid(splitAt, 1))).size();
        if (intoCharacter && characterBytes > 1) {
            first += second.left(1);
            second.remove(0, 1);
        }
        useStandIn(writeStep(first) + " wait:1000 " + writeStep(second));
        auto wizard = makeWizard();
        QVERIFY(wizard);
        fillAndGoToPage3(*wizard, scratch.path(), scratch.path(), {}, {}, scratch.path());
        wizard->button(QWizard::FinishButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard->runActive(), 10000);
        // Each piece lands in a paragraph of its own, and a character split between them comes out whole.
        QCOMPARE(log(*wizard), initialising + QLatin1Char('\n') + output.left(splitAt) + QLatin1Char('\n')
                                   + output.mid(splitAt) + QStringLiteral("\nProject Converted Successfully!"));
    }

    void silentConverterKeepsTheWindowResponsiveAndCancelKillsIt()
    {
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
