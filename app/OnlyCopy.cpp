#include "app/OnlyCopy.h"

#include "app/ErrorBox.h"
#include "store/DataDir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

TOnlyCopy::TOnlyCopy() = default;
TOnlyCopy::~TOnlyCopy() = default;

QString TOnlyCopy::LockPath(const QString& dataDir) {
#ifdef Q_OS_WIN
    // Windows names no runtime folder of its own (Qt gives the profile
    // folder); the user's temporary folder serves.
    QString folder = QDir::tempPath();
#else
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray hash =
        QCryptographicHash::hash(QDir::cleanPath(dataDir).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return folder + QStringLiteral("/zirmon-") + QString::fromLatin1(hash) +
           QStringLiteral(".lock");
}

bool TOnlyCopy::Claim() {
    Lock = std::make_unique<QLockFile>(LockPath(DataDirPath()));
    // A running copy holds its lock however long it runs; only a lock whose
    // process is gone is stale.
    Lock->setStaleLockTime(0);
    if (Lock->tryLock(0))
        return true;
    if (Lock->error() != QLockFile::LockFailedError) {
        // No lock can be made there (a missing or read-only runtime
        // folder): the program runs all the same, unguarded.
        Lock.reset();
        return true;
    }
    Lock.reset();
    ShowProgramInformationBox(QStringLiteral("Program Zirmon je již spuštěn."));
    return false;
}
