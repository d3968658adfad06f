#pragma once

#include <QString>
#include <memory>

class QLockFile;

// One copy of the program per data folder, so that two copies never
// overwrite each other's counts.
class TOnlyCopy {
public:
    TOnlyCopy();
    ~TOnlyCopy();
    TOnlyCopy(const TOnlyCopy&) = delete;
    TOnlyCopy& operator=(const TOnlyCopy&) = delete;

    // True when no other copy runs on this data folder; this copy then holds
    // the lock until it ends. Otherwise shows "Program Zirmon je již
    // spuštěn." and returns false once the box is closed. A copy that
    // crashed or was killed leaves a stale lock, which does not count.
    bool Claim();

    // The lock file of a data folder: in the runtime folder, named after
    // the data folder, never inside it.
    static QString LockPath(const QString& dataDir);

private:
    std::unique_ptr<QLockFile> Lock;
};
