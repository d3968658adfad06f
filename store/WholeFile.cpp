#include "store/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

TFileHooks* FileHooks = nullptr;

namespace {

QString WithoutFullStop(QString reason) {
    if (reason.endsWith(u'.'))
        reason.chop(1);
    return reason;
}

TFileRead Failed(const QString& reason, bool missing = false) {
    TFileRead read;
    read.Missing = missing;
    read.Reason = WithoutFullStop(reason);
    return read;
}

} // namespace

TFileRead ReadWholeFile(const QString& path) {
    if (FileHooks)
        FileHooks->Reading(path);
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile()) {
        // A missing file or a folder is safe to try, and the failure
        // describes itself; a pipe or a device is not opened at all.
        if ((!info.exists() || info.isDir()) && !file.open(QIODevice::ReadOnly))
            return Failed(file.errorString(), !info.exists() && !info.isSymLink());
        return Failed(QStringLiteral("Not a regular file"));
    }
#ifdef Q_OS_UNIX
    // The path may have become a pipe since it was looked at: open without
    // waiting for a writer, and read only what is still a regular file.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failed(QString::fromLocal8Bit(std::strerror(errno)), errno == ENOENT);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Failed(QStringLiteral("Not a regular file"));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failed(file.errorString());
    }
#else
    if (!file.open(QIODevice::ReadOnly))
        return Failed(file.errorString());
#endif
    TFileRead read;
    read.Bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failed(file.errorString());
    read.Ok = true;
    return read;
}

QString ReplaceWholeFile(const QString& path, const QByteArray& bytes, bool privateWhenNew) {
    if (FileHooks)
        FileHooks->Replacing(path, bytes);
    const bool isNew = !QFileInfo::exists(path);
    QSaveFile file(path);
    // A folder that lets no file be made beside this one, while the file
    // itself may be written, is written in place: that is not atomic, but
    // it is the only way to save there at all. Everywhere else the file is
    // replaced whole.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a full disk shows in the write itself: a buffered
    // QSaveFile can lose the failure of its last flush and commit an empty
    // or cut file all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WithoutFullStop(file.errorString());
    // An existing file keeps its permissions (the temporary file takes them
    // over); a new private one is for the owner only.
    if (isNew && privateWhenNew &&
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return WithoutFullStop(file.errorString());
    }
    const qint64 space = FileHooks ? FileHooks->SpaceLeft(path) : -1;
    if (space >= 0 && space < bytes.size()) {
        // The disk fills up part way, as a real one would.
        file.write(bytes.constData(), space);
        file.cancelWriting();
        return WithoutFullStop(QString::fromLocal8Bit(std::strerror(ENOSPC)));
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return WithoutFullStop(reason);
    }
#ifdef Q_OS_UNIX
    // A file system that allocates late reports a full disk only here; the
    // commit's own flush to disk would not say.
    if (::fsync(file.handle()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return WithoutFullStop(reason);
    }
#endif
    if (!file.commit())
        return WithoutFullStop(file.errorString());
    if (FileHooks)
        FileHooks->Replaced(path);
    return QString();
}

QString AppendToFile(const QString& path, const QByteArray& bytes, const QByteArray& headWhenNew,
                     const QByteArray& tornEnd) {
    QFile file(path);
#ifdef Q_OS_UNIX
    // Without waiting for a reader, should the path be a pipe, and only into
    // what is a regular file.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0)
        return WithoutFullStop(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return QStringLiteral("Not a regular file");
    }
    if (!file.open(fd, QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return WithoutFullStop(file.errorString());
    }
#else
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return QStringLiteral("Not a regular file");
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return WithoutFullStop(file.errorString());
#endif
    QByteArray out;
    const qint64 size = file.size();
    if (size == 0) {
        out = headWhenNew;
    } else {
        char last = 0;
        if (file.seek(size - 1) && file.getChar(&last) && last != '\n' && last != '\r')
            out = tornEnd;
    }
    out += bytes;
    if (file.write(out) != out.size() || !file.flush()) {
        const QString reason = WithoutFullStop(file.errorString());
        // A file that held nothing is not left behind, not even with a part
        // of its head: it had no lines to keep.
        file.close();
        if (size == 0)
            QFile::remove(path);
        return reason;
    }
    return QString();
}
