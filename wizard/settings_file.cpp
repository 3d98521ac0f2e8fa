// The wizard's settings file: the three personality paths and the pack folder, each as a key line, a path
// line and an empty line.
#include "settings_file.h"

#include <QFile>
#include <QList>

namespace {

// Lines without their line feed; a carriage return before it goes too, for files edited on Windows.
QList<QByteArray> splitLines(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (text.isEmpty() || text.endsWith('\n'))
        lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

void appendEntry(QByteArray& text, const char* key, const QString& path)
{
    if (path.isEmpty())
        return;
    text += key;
    text += '\n';
    text += path.toLocal8Bit();
    text += "\n\n";
}

} // namespace

PersonalitySettings parseSettings(const QByteArray& text)
{
    PersonalitySettings settings;
    const QList<QByteArray> lines = splitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        std::optional<QString>* target = nullptr;
        if (lines[i] == messageKey)
            target = &settings.message;
        else if (lines[i] == analyserKey)
            target = &settings.analyser;
        else if (lines[i] == compilerKey)
            target = &settings.compiler;
        else if (lines[i] == packFolderKey)
            target = &settings.packFolder;
        if (!target)
            continue;
        ++i; // the value line is consumed here, so it is never read as a key
        *target = i < lines.size() ? QString::fromLocal8Bit(lines[i]) : QString();
    }
    return settings;
}

QByteArray formatSettings(const QString& message, const QString& analyser, const QString& compiler,
                          const QString& packFolder)
{
    QByteArray text;
    appendEntry(text, messageKey, message);
    appendEntry(text, analyserKey, analyser);
    appendEntry(text, compilerKey, compiler);
    appendEntry(text, packFolderKey, packFolder);
    return text;
}

PersonalitySettings readSettingsFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseSettings(file.readAll());
}

void writeSettingsFile(const QString& fileName, const QString& message, const QString& analyser,
                       const QString& compiler, const QString& packFolder)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(formatSettings(message, analyser, compiler, packFolder));
}
