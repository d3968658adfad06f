#include "store/DataDir.h"

#include <QDir>
#include <QStandardPaths>

QString DataDirPath() {
    QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (path.isEmpty())
        return QString();
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QDir::separator()))
        path += QLatin1Char('/');
    return path + QLatin1String("zirmon/");
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
