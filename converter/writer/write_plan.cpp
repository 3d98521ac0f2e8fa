// Carrying out the plan of one write.
#include "write_plan.h"

#include "../console.h"
#include "../errors.h"
#include "output_session.h"

void WritePlan::carryOut(const std::vector<platform::FileIdentity>& inputs) const
{
    // Removes its temporary file when the write fails before it is moved into place.
    platform::ReplacementFile project;
    if (!project.open(projectPath))
        throw IOERROR(IOERROR::CannotWriteFile, projectPath);
    for (const Step& step : steps) {
        switch (step.kind) {
        case Step::Line: printLine(step.text); break;
        case Step::Folder:
            if (!platform::makeFolder(step.text)) {
                // Something came between the passes: still never write through a link.
                OutputCheck(std::string(), inputs).at(step.text);
                throw IOERROR(IOERROR::CannotCreateDirectory, step.text);
            }
            break;
        case Step::File: {
            platform::ReplacementFile file;
            if (!file.open(step.text) || !file.write(step.bytes) || !file.commit())
                throw IOERROR(IOERROR::CannotWriteFile, step.text);
            break;
        }
        }
    }
    if (!project.write(projectText) || !project.commit())
        throw IOERROR(IOERROR::CannotWriteFile, projectPath);
}
