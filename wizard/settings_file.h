// The wizard's settings file: the three personality paths, each as a key line, a path line and an empty line.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The personality paths a settings file names; a key that does not occur leaves its path unset.
struct PersonalitySettings {
    std::optional<QString> message;
    std::optional<QString> analyser;
    std::optional<QString> compiler;
};

inline constexpr char messageKey[] = "Message Personality:";
inline constexpr char analyserKey[] = "Analyser Personality:";
inline constexpr char compilerKey[] = "Compiler Personality:";

// Reads settings text: a line equal to a key (whole, case-sensitive, untrimmed) takes the next line
// as its path; other lines are skipped; a later occurrence of a key wins; a key on the last line
// gives an empty path.
PersonalitySettings parseSettings(const QByteArray& text);

// Settings text for the non-empty paths, in the order message, analyser, compiler.
QByteArray formatSettings(const QString& message, const QString& analyser, const QString& compiler);

// The file's settings; nothing is set when it cannot be read.
PersonalitySettings readSettingsFile(const QString& fileName);

// Replaces the file's content; a file that cannot be written is left alone, without a message.
void writeSettingsFile(const QString& fileName, const QString& message, const QString& analyser, const QString& compiler);
