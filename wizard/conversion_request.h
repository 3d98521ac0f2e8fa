// The user's entries for one conversion and what is made of them: extension list, summary, command line.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

// Everything the wizard collects for one run of the converter, as the fields hold it.
struct ConversionEntries {
    QString keilProject;
    QString destinationFolder;
    QString projectName;
    QString messagePersonality;
    QString analyserPersonality;
    QString compilerPersonality;
    QString extensionList;
    QString packFolder; // the root of the installed software packs; empty: the converter's own choice
};

// The extension check boxes, in the order their extensions enter the list.
inline constexpr std::array<const char*, 8> extensionChoices{"cpp", "cc", "cxx", "c", "h", "hh", "hpp", "hxx"};

// Comma-separated extensions without dots: the checked choices, then the custom text as typed,
// without one trailing comma.
QString buildExtensionList(const std::array<bool, extensionChoices.size()>& checked, const QString& customExtensions);

// The text shown on the last page before the run: every entry under its heading, the pack folder only when set.
QString conversionSummary(const ConversionEntries& entries);

// The converter's arguments after its program name; each field travels as one argument, unchanged.
QStringList converterArguments(const ConversionEntries& entries);
