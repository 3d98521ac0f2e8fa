// Writes a PNG picture of each wizard page, filled in with the bundled example, for the README.
// Run under an X server from a folder that holds examples/, out/wenlock/ and packs/ (scripts/screenshots
// prepares one).
#include "wenlock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

namespace {

void settle(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

bool snap(QWidget& window, const QString& file)
{
    settle(400);
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    if (shot.isNull() || !shot.save(file, "PNG")) {
        QTextStream(stderr) << "Could not write " << file << "\n";
        return false;
    }
    QTextStream(stdout) << file << "\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "Usage: wenlock_screenshots <output folder>\n";
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));

    // No settings from a real run may show up in the pictures, and none are left behind.
    QTemporaryDir scratch;
    WenlockHooks hooks;
    hooks.settingsFile = scratch.filePath(QStringLiteral("settings.txt"));
    Wenlock wizard(nullptr, nullptr, false, {}, hooks);
    wizard.move(0, 0);
    wizard.show();

    bool written = true;
    wizard.KeilUvProjectEdit->setText(QStringLiteral("examples\\workspace\\demo.mpw"));
    wizard.OstraProjectEdit->setText(QStringLiteral("out\\wenlock"));
    wizard.OstraNameEdit->setText(QStringLiteral("demo"));
    written &= snap(wizard, output.filePath(QStringLiteral("wizard-page0.png")));

    wizard.next();
    wizard.MsgPersonEdit->setText(QStringLiteral("examples\\personality\\demo.p_s"));
    wizard.AnalPersonEdit->setText(QStringLiteral("examples\\personality\\demo.p_a"));
    wizard.CmpPersonEdit->setText(QStringLiteral("examples\\personality\\demo.p_c"));
    // Set here, whatever the environment of the run would offer.
    wizard.PackFolderEdit->setText(QStringLiteral("packs"));
    written &= snap(wizard, output.filePath(QStringLiteral("wizard-page1.png")));

    wizard.next();
    wizard.cCheck->setChecked(true);
    wizard.hCheck->setChecked(true);
    wizard.CustExtEdit->setText(QStringLiteral("s,a51"));
    written &= snap(wizard, output.filePath(QStringLiteral("wizard-page2.png")));

    wizard.next();
    written &= snap(wizard, output.filePath(QStringLiteral("wizard-page3.png")));

    // The log of a real run, when a converter is on the PATH.
    wizard.button(QWizard::FinishButton)->click();
    QDeadlineTimer deadline(30000);
    while (wizard.runActive() && !deadline.hasExpired())
        settle(50);
    written &= snap(wizard, output.filePath(QStringLiteral("wizard-run.png")));

    return written ? 0 : 1;
}
