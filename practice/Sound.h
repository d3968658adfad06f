#pragma once

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class QThread;
class TSoundHost;

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

// Where the sound module lies: the executable's folder if it is there, else
// <exe folder>/../lib/zirmon/ (zirmonsound.so, on Windows zirmonsound.dll).
QString SoundModulePath();

// What the sound module makes: the sound effects of one thread. Created,
// used and destroyed in the sound thread. `failed` is called there for a
// file that cannot be decoded, once per attempt to play it.
class TSoundSink {
public:
    virtual ~TSoundSink() = default;
    virtual void Play(const QString& path) = 0;
};
using TCreateSoundSink = TSoundSink* (*)(std::function<void()> failed);
#define ZIRMON_SOUND_SINK_FACTORY "ZirmonCreateSoundSink"

// Plays the sounds in a thread of its own, so that they are heard even while
// the user-interface thread is busy and does not return to its event loop.
// The audio libraries are not part of the program: they come with the sound
// module, which the sound thread loads at the first Play, so they cost
// nothing at start. Each file is decoded once and reused. A new sound cuts
// off the one playing. A missing or unreadable file gives a beep at once,
// whether or not the system can play sound; so does a missing module. Where
// the system has no audio output at all, every other sound is silence, an
// undecodable file's too; with an output, an undecodable file gives a beep.
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
    TSoundHost* Host = nullptr;
    QSet<QString> HandedOver; // paths already given to the worker
};

#ifdef Q_OS_WIN
// The program's player on Windows: sndPlaySoundW of winmm with the
// asynchronous flag only. The call returns at once, a new sound cuts off the
// one playing, and a missing or unreadable file gives the system's default
// sound; nothing is reported.
class TWinmmSoundPlayer : public TSoundPlayer {
public:
    void Play(const QString& fileName) override;
};

// How the player reaches winmm (sndPlaySoundW); a test puts a recorder in
// its place.
extern int (*SndPlaySound)(const wchar_t* path, unsigned flags);

using TSystemSoundPlayer = TWinmmSoundPlayer;
#else
using TSystemSoundPlayer = TThreadSoundPlayer;
#endif
