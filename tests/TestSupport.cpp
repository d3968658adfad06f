#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

TTempHome::TTempHome() {
    qputenv("HOME", Dir.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (Dir.path() + "/share").toLocal8Bit());
}

QString TTempHome::dataDir() const { return Dir.path() + "/share/zirmon/"; }

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}
