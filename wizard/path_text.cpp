// Path texts as the fields hold them and as the host's file system takes them.
#include "path_text.h"

#include <QFileInfo>

QString hostPath(const QString& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString result = path;
    return result.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
}

bool pathExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(hostPath(path));
}
