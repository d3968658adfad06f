#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class QThread;
class TSoundWorker;

// The player the answer evaluation uses: asynchronous, never blocks, never reports.
class TSoundPlayer {
public:
    virtual ~TSoundPlayer() = default;
    virtual void Play(const QString& fileName) = 0; // fileName: "ok.dat" or "bad.dat"
};

// Set by the program's entry (main) to a TThreadSoundPlayer; tests install
// doubles. nullptr = silence.
extern TSoundPlayer* SoundPlayer;

// What the player does instead of a sound it cannot play. Defaults to
// QApplication::beep; always called on the user-interface thread.
extern void (*SoundBeep)();

// Where the sound files lie: the executable's folder if the file is there,
// else <exe folder>/../share/zirmon/. An absolute fileName is kept as it is.
QString SoundFilePath(const QString& fileName);

// Plays the sounds in a thread of its own, so that they are heard even while
// the user-interface thread is busy and does not return to its event loop.
// The thread and the sound effects come into being at the first Play; each
// file is decoded once and reused. A new sound cuts off the one playing.
// A missing or undecodable file gives a beep; no audio device gives silence.
// Create, use and destroy it on the user-interface thread.
class TThreadSoundPlayer : public TSoundPlayer {
public:
    TThreadSoundPlayer();
    ~TThreadSoundPlayer() override;
    TThreadSoundPlayer(const TThreadSoundPlayer&) = delete;
    TThreadSoundPlayer& operator=(const TThreadSoundPlayer&) = delete;

    void Play(const QString& fileName) override;

private:
    void StartThread();

    QObject Home; // lives on the user-interface thread; receives the beeps
    QThread* Thread = nullptr;
    TSoundWorker* Worker = nullptr;
    QSet<QString> HandedOver; // paths already given to the worker
};
