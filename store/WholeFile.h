#pragma once

#include <QByteArray>
#include <QString>

// The one way the program reads and writes its data files: whole, and never
// holding a file open between two calls.

// The outcome of reading a file.
struct TFileRead {
    bool Ok = false;      // Bytes hold the whole file
    bool Missing = false; // nothing at all is at the path (not even a dangling link)
    QByteArray Bytes;
    QString Reason; // why the read failed, without a final full stop
};

// Reads a regular file whole. Anything else (a folder, a pipe, a device) is
// refused without being opened for reading, since a pipe without a writer
// would block for ever.
TFileRead ReadWholeFile(const QString& path);

// Replaces the file with bytes through a temporary file beside it and a
// rename, so that the path holds either the old content or the new one,
// never a part. An existing file keeps its permissions; a new one is for its
// owner only when privateWhenNew. Returns the reason of a failure (without a
// final full stop), or an empty text when the file was written.
QString ReplaceWholeFile(const QString& path, const QByteArray& bytes, bool privateWhenNew);

// Appends bytes to a file whose lines are only ever added to, with one
// open, one write and one flush: the one exception to whole writes, since a
// write cut short there leaves at most a torn last line. A new or empty file
// gets headWhenNew first (a new one is for its owner only); a file whose last
// line was torn gets tornEnd before the bytes: it ends the torn line so that
// the line does not swallow them, and marks it, so that a line cut inside its
// last field does not read as whole. Only a regular file is written; an empty
// one is removed when the write fails, having no lines to keep. Returns the
// reason of a failure (without a final full stop), or an empty text.
QString AppendToFile(const QString& path, const QByteArray& bytes, const QByteArray& headWhenNew,
                     const QByteArray& tornEnd);

// Where tests and the crash driver look into the file access. The program
// runs without one (FileHooks is nullptr).
class TFileHooks {
public:
    virtual ~TFileHooks() = default;
    // Called before each read.
    virtual void Reading(const QString& path) { (void)path; }
    // Called before the temporary file is made, and after the rename.
    virtual void Replacing(const QString& path, const QByteArray& bytes) {
        (void)path;
        (void)bytes;
    }
    virtual void Replaced(const QString& path) { (void)path; }
    // How many more bytes the disk takes for this file; negative for as many
    // as it really takes. A smaller number makes the write fail as a full
    // disk does, after that many bytes of the temporary file.
    virtual qint64 SpaceLeft(const QString& path) {
        (void)path;
        return -1;
    }
};
extern TFileHooks* FileHooks;
