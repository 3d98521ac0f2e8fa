// Turning every failure of a run into its one line.
#include "errors.h"

#include <exception>
#include <iostream>
#include <new>

#include "console.h"

namespace {

void printReaderError(const AsciiReaderError& error)
{
    switch (error.code) {
    case AsciiReaderError::UnexpectedEof: printLine(message::unexpectedEof); return;
    case AsciiReaderError::CannotOpen: printLine(message::couldNotOpen, error.path); return;
    case AsciiReaderError::Malformed: printLine(message::malformedXml, error.path); return;
    case AsciiReaderError::NotKeilProject: printLine(message::notKeilProject, error.path); return;
    }
    // Only an error made from a number outside the list gets here.
    printLine(message::runFailed, "reading error " + std::to_string(static_cast<int>(error.code)) + " " + error.path);
}

void printLimitError(const LimitExceeded& error)
{
    switch (error.limit) {
    case LimitExceeded::Nodes: printLine(message::tooManyNodes); return;
    case LimitExceeded::OutputBytes: printLine(message::tooMuchOutput); return;
    }
}

void printOutputError(const IOERROR& error)
{
    switch (error.code) {
    case IOERROR::CannotCreateDirectory: printLine(message::couldNotCreateDirectory, error.path); return;
    case IOERROR::CannotWriteFile: printLine(message::couldNotWrite, error.path); return;
    case IOERROR::NameLeavesDestination: printLine(message::nameLeavesDestination, error.path); return;
    case IOERROR::CurrentFolderUnknown: printLine(message::currentFolderUnknown); return;
    case IOERROR::OutputIsLink: printLine(message::outputIsLink, error.path); return;
    case IOERROR::OverwritesInput: printLine(message::overwritesInput, error.path); return;
    case IOERROR::DestinationInUse: printLine(message::destinationInUse, error.path); return;
    case IOERROR::ProjectNameNotPlain: printLine(message::projectNameNotPlain, error.path); return;
    }
    printLine(message::runFailed, "file system error " + std::to_string(static_cast<int>(error.code)) + " " + error.path);
}

}  // namespace

int reportFailure() noexcept
{
    try {
        try {
            throw;
        } catch (const AsciiReaderError& error) {
            printReaderError(error);
        } catch (const IOERROR& error) {
            printOutputError(error);
        } catch (const LimitExceeded& error) {
            printLimitError(error);
        } catch (const FileTooLarge& error) {
            printLine(message::fileTooLarge, error.path);
        } catch (const Interrupted&) {
            // The interrupted write to a standard output nobody read must not silence the line.
            std::cout.clear();
            printLine(message::interrupted);
        } catch (const std::bad_alloc&) {
            printLine(message::runFailed, "out of memory");
        } catch (const std::exception& error) {
            printLine(message::runFailed, error.what());
        } catch (...) {
            printLine(message::runFailed, "unknown error");
        }
    } catch (...) {
        // Printing itself failed (no memory for the line): the status still tells.
    }
    return 1;
}
