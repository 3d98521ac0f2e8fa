// The user's entries for one conversion and what is made of them: extension list, summary, command line.
#include "conversion_request.h"

QString buildExtensionList(const std::array<bool, extensionChoices.size()>& checked, const QString& customExtensions)
{
    QString list;
    for (std::size_t i = 0; i < extensionChoices.size(); ++i) {
        if (checked[i])
            list += QLatin1String(extensionChoices[i]) + QLatin1Char(',');
    }
    list += customExtensions;
    if (list.endsWith(QLatin1Char(',')))
        list.chop(1);
    return list;
}

QString conversionSummary(const ConversionEntries& entries)
{
    QString summary = QStringLiteral("Keil Project:\n") + entries.keilProject + QStringLiteral("\n\n")
        + QStringLiteral("Ostra / Ostra++ Project Directory:\n") + entries.destinationFolder + QStringLiteral("\n\n")
        + QStringLiteral("Ostra / Ostra++ Project Name:\n") + entries.projectName + QStringLiteral("\n\n")
        + QStringLiteral("Message Personality:\n") + entries.messagePersonality + QStringLiteral("\n\n")
        + QStringLiteral("Template Analyser Personality:\n") + entries.analyserPersonality + QStringLiteral("\n\n")
        + QStringLiteral("Compiler Personality:\n") + entries.compilerPersonality + QStringLiteral("\n\n");
    // In the order of the pages: the pack folder is the last field of page 1.
    if (!entries.packFolder.isEmpty())
        summary += QStringLiteral("Pack Folder:\n") + entries.packFolder + QStringLiteral("\n\n");
    return summary + QStringLiteral("File Extensions:\n") + entries.extensionList + QStringLiteral("\n");
}

QStringList converterArguments(const ConversionEntries& entries)
{
    QStringList arguments{entries.keilProject, entries.destinationFolder,
                          QStringLiteral("-cp"), entries.compilerPersonality,
                          QStringLiteral("-pn"), entries.projectName};
    if (!entries.messagePersonality.isEmpty())
        arguments << QStringLiteral("-mp") << entries.messagePersonality;
    if (!entries.analyserPersonality.isEmpty())
        arguments << QStringLiteral("-ap") << entries.analyserPersonality;
    if (!entries.extensionList.isEmpty())
        arguments << QStringLiteral("-ext") << entries.extensionList;
    if (!entries.packFolder.isEmpty())
        arguments << QStringLiteral("-pack") << entries.packFolder;
    return arguments;
}
