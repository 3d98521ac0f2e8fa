// Path texts as the wizard shows them (backslashes) and as the host's file system takes them.
#pragma once

#include <QString>

// A copy of a path with every "/" replaced by "\".
QString toBackslashes(const QString& path);

// The path in the host's own form: unchanged on Windows; elsewhere every "\" becomes "/",
// since the fields hold Windows-style paths that the host would otherwise take as file names.
QString hostPath(const QString& path);

// True when the text names an existing file or folder; relative paths start at the current folder.
bool pathExists(const QString& path);
