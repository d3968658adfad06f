#include "store/DataDir.h"

#include "practice/PracticeState.h"

#include <QDir>
#include <QFileInfo>

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

bool InDataFolder(const QString& path) {
    const QString folder = QFileInfo(DataDirPath()).canonicalFilePath();
    if (folder.isEmpty())
        return false; // no data folder yet: nothing of it to replace
    const QFileInfo target(path);
    // The file itself when it is there (a link to one of ours counts), else
    // the folder it would be made in.
    QString where = target.canonicalFilePath();
    if (where.isEmpty()) {
        where = QFileInfo(target.absolutePath()).canonicalFilePath();
        if (where.isEmpty())
            return false; // a folder that is not there takes no file
        where += QLatin1Char('/') + target.fileName();
    }
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    return where.compare(folder, cs) == 0 || where.startsWith(folder + QLatin1Char('/'), cs);
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

QString ChildDirPath(int folder) {
    const QString data = DataDirPath();
    if (folder == 0 || data.isEmpty())
        return data;
    return data + QLatin1String("deti") + Separator + QString::number(folder) + Separator;
}

QString GetChildDir() {
    const QString data = GetDataDir();
    if (PracticeState.Children.size() < 2 || data.isEmpty())
        return data;
    const int folder = PracticeState.Children.value(PracticeState.Child).Folder;
    const QString path = ChildDirPath(folder);
    if (!QFileInfo(path).isDir())
        QDir().mkpath(path);
    return path;
}

QString GetIniPath() {
    return GetChildDir() + QLatin1String("zirmon.ini");
}

QString GetJournalPath() {
    return GetChildDir() + QLatin1String("denik.csv");
}

QString GetListPath() {
    return GetChildDir() + QLatin1String("priklad.dat");
}

QString GetFamilyIniPath() {
    return GetDataDir() + QLatin1String("zirmon.ini");
}

QString GetFamilyPath() {
    return GetDataDir() + QLatin1String("rodina.ini");
}
