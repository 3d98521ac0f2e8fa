// Path texts as the fields hold them and as the host's file system takes them.
#pragma once

#include <QString>

// The path in the host's own form: unchanged on Windows; elsewhere every "\" becomes "/", since a
// field may hold a Windows-style path (typed, or from a settings file written on Windows) that the
// host would otherwise take as one file name.
QString hostPath(const QString& path);

// True when the text names an existing file or folder; relative paths start at the current folder.
bool pathExists(const QString& path);
