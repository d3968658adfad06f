#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary home for one test program: XDG_DATA_HOME and HOME point into a
// fresh temporary folder, so no test ever touches the real data folder.
class TTempHome {
public:
    TTempHome();
    QString root() const { return Dir.path(); }
    // The data folder the program uses under this home, with a trailing "/".
    QString dataDir() const;

private:
    QTemporaryDir Dir;
};

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

#include <QStringList>

// Waits (from timers, while a modal box runs its own loop) for the next
// message box, writes "caption|text" into log and presses Enter in it.
void AnswerNextBox(QStringList* log);
