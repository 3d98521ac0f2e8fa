// The root folder of the installed software packs that the wizard offers before the user names one.
#pragma once

#include <QString>

// CMSIS_PACK_ROOT when it is set and not empty; on Windows otherwise %LOCALAPPDATA%\Arm\Packs when that
// folder exists; otherwise empty. In the platform's own separators, as a Browse dialog gives a path.
QString defaultPackFolder();
