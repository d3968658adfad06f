#include "store/DataDir.h"

#include <QDir>
#include <QStandardPaths>

QString GetDataDir() {
    QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (path.isEmpty())
        return QString();
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QDir::separator()))
        path += QLatin1Char('/');
    path += QLatin1String("zirmon/");
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
