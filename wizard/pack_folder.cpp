// The root folder of the installed software packs that the wizard offers before the user names one.
#include "pack_folder.h"

#include <QDir>
#include <QFileInfo>

QString defaultPackFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("CMSIS_PACK_ROOT");
    if (!fromEnvironment.isEmpty())
        return QDir::toNativeSeparators(fromEnvironment);
#ifdef Q_OS_WIN
    // The per-user pack folder, where the converter looks too when it is given none.
    const QString localData = qEnvironmentVariable("LOCALAPPDATA");
    if (!localData.isEmpty()) {
        const QString packs = QDir(localData).filePath(QStringLiteral("Arm/Packs"));
        if (QFileInfo(packs).isDir())
            return QDir::toNativeSeparators(packs);
    }
#endif
    return {};
}
