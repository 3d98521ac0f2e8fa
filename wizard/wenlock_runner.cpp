// The wizard's conversion run: summary on leaving page 2, the converter started by Finish, its log and result.
#include "wenlock.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTextCursor>

ConversionEntries Wenlock::entries() const
{
    return {KeilUvProjectEdit->text(), OstraProjectEdit->text(), OstraNameEdit->text(), MsgPersonEdit->text(),
            AnalPersonEdit->text(), CmpPersonEdit->text(), extensionList, PackFolderEdit->text()};
}

bool Wenlock::runActive() const
{
    return process && process->state() != QProcess::NotRunning;
}

bool Wenlock::validateCurrentPage()
{
    if (currentPage() == Page2) {
        // In the order of extensionChoices.
        const std::array<bool, extensionChoices.size()> checked{
            cppCheck->isChecked(), ccCheck->isChecked(), cxxCheck->isChecked(), cCheck->isChecked(),
            hCheck->isChecked(),   hhCheck->isChecked(), hppCheck->isChecked(), hxxCheck->isChecked()};
        extensionList = buildExtensionList(checked, CustExtEdit->text());
        DetailsText->setPlainText(conversionSummary(entries()));
        // Two converters must never write into one destination at the same time.
        if (!runActive())
            Page3->setFinishEnabled(true);
    }
    return WenlockBase::validateCurrentPage();
}

void Wenlock::accept()
{
    if (runActive())
        return;

    // Earlier process objects stay children of the wizard until it goes.
    process = new QProcess(this);
    process->setProgram(hooks.converterProgram);
    process->setArguments(converterArguments(entries()));
    // The converter writes nothing else; whatever a faulty one writes to its error channel goes to ours.
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardInputFile(QProcess::nullDevice());

    // The converter passes names on as bytes: the system's local 8-bit encoding.
    outputDecoder = QStringDecoder(QStringDecoder::System);
    DetailsText->clear();
    DetailsText->setPlainText(tr("Initialising Project Conversion ...\n"));

    connect(process, &QProcess::readyReadStandardOutput, this, &Wenlock::readFromStdout);
    connect(process, &QProcess::finished, this, &Wenlock::processExit);
    connect(process, &QProcess::errorOccurred, this, &Wenlock::processError);

    Page3->setFinishEnabled(false);
    process->start();
}

void Wenlock::processError(QProcess::ProcessError error)
{
    // A converter that never started sends no finished signal: no result box, no settings written.
    if (error != QProcess::FailedToStart)
        return;
    appendToLog(tr("Project Conversion could not be executed: Please ensure Tamsel.exe is set on the path.\n"));
    Page3->setFinishEnabled(true);
}

void Wenlock::readFromStdout()
{
    const QString text = outputDecoder.decode(process->readAllStandardOutput());
    // A read that ends inside the only character it holds leaves nothing to show yet.
    if (!text.isEmpty())
        appendToLog(text);
}

void Wenlock::processExit()
{
    if (process->exitStatus() == QProcess::NormalExit) {
        if (process->exitCode() == 0) {
            appendToLog(tr("Project Converted Successfully!"));
            Page3->setFinishEnabled(false);
            setButtonText(CancelButton, tr("Close"));
        } else {
            Page3->setFinishEnabled(true);
            hooks.showFailure(tr("Wenlock"), tr("Project Conversion Failed!\nPlease check the details log and try again."));
        }
    } else {
        // Killed: nothing to report, but the entries may be run again.
        Page3->setFinishEnabled(true);
    }
    saveSettings();
}

void Wenlock::reject()
{
    if (runActive()) {
        process->kill();
        // A killed process ends at once; waiting here reaps it and saves the settings before the window goes.
        process->waitForFinished(3000);
    }
    WenlockBase::reject();
}

void Wenlock::appendToLog(const QString& text)
{
    // A new paragraph as plain text: the converter's output is never read as markup.
    QTextCursor cursor(DetailsText->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertText(text);
    DetailsText->setTextCursor(cursor);
    DetailsText->ensureCursorVisible();
}
