#include "store/DataDir.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <shlobj.h>
#include <windows.h>

QString PlatformAppDataFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, FALSE))
        return QString();
    return QString::fromWCharArray(path);
}

namespace {
const QLatin1Char Separator('\\');
}
#else
#include <QStandardPaths>

QString PlatformAppDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

namespace {
const QLatin1Char Separator('/');
}
#endif

QString (*AppDataFolder)() = &PlatformAppDataFolder;

QString DataDirPath() {
    QString path = AppDataFolder();
    if (path.isEmpty())
        return QString();
    if (!path.endsWith(Separator) && !path.endsWith(QDir::separator()))
        path += Separator;
    return path + QLatin1String("zirmon") + Separator;
}

QString GetDataDir() {
    const QString path = DataDirPath();
    if (path.isEmpty())
        return QString();
    // The outcome is not examined here: a folder that cannot be made shows
    // up as the error of the first write into it.
    if (!QFileInfo(path).isDir())
        QDir().mkpath(path);
    return path;
}

QString GetIniPath() {
    return GetDataDir() + QLatin1String("zirmon.ini");
}

QString GetListPath() {
    return GetDataDir() + QLatin1String("priklad.dat");
}
