// The wizard's settings file: the three personality paths and the pack folder, each as a key line, a path
// line and an empty line.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The paths a settings file names; a key that does not occur leaves its path unset.
struct PersonalitySettings {
    std::optional<QString> message;
    std::optional<QString> analyser;
    std::optional<QString> compiler;
    std::optional<QString> packFolder;
};

inline constexpr char messageKey[] = "Message Personality:";
inline constexpr char analyserKey[] = "Analyser Personality:";
inline constexpr char compilerKey[] = "Compiler Personality:";
// Written after the three personalities and only when set, so that a file without a pack folder stays as
// earlier wizards wrote it, and those wizards skip the entry as a line they do not know.
inline constexpr char packFolderKey[] = "Pack Folder:";

// Reads settings text: a line equal to a key (whole, case-sensitive, untrimmed) takes the next line
// as its path; other lines are skipped; a later occurrence of a key wins; a key on the last line
// gives an empty path.
PersonalitySettings parseSettings(const QByteArray& text);

// Settings text for the non-empty paths, in the order message, analyser, compiler, pack folder.
QByteArray formatSettings(const QString& message, const QString& analyser, const QString& compiler,
                          const QString& packFolder);

// The file's settings; nothing is set when it cannot be read.
PersonalitySettings readSettingsFile(const QString& fileName);

// Replaces the file's content; a file that cannot be written is left alone, without a message.
void writeSettingsFile(const QString& fileName, const QString& message, const QString& analyser,
                       const QString& compiler, const QString& packFolder);
