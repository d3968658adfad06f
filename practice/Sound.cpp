#include "Sound.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QThread>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>

#include <mmsystem.h>
#endif

TSoundPlayer* SoundPlayer = nullptr;

void (*SoundBeep)() = &QApplication::beep;

namespace {

// `fileName` beside the executable if it is there, else in `otherFolder`
// (relative to the executable's folder).
QString BesideOrIn(const QString& fileName, const QString& otherFolder) {
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const QString beside = exeDir.filePath(fileName);
    if (QFileInfo(fileName).isAbsolute() || QFileInfo::exists(beside))
        return QDir::cleanPath(beside);
    return QDir::cleanPath(exeDir.filePath(otherFolder + fileName));
}

} // namespace

QString SoundFilePath(const QString& fileName) {
    return BesideOrIn(fileName, QStringLiteral("../share/zirmon/"));
}

QString SoundModulePath() {
#ifdef Q_OS_WIN
    const QString file = QStringLiteral("zirmonsound.dll");
#else
    const QString file = QStringLiteral("zirmonsound.so");
#endif
    return BesideOrIn(file, QStringLiteral("../lib/zirmon/"));
}

namespace {

// A beep on the user-interface thread, whichever thread asks for it.
void BeepOn(QObject* home) {
    QMetaObject::invokeMethod(
        home,
        [] {
            if (SoundBeep)
                SoundBeep();
        },
        Qt::QueuedConnection);
}

// True when the file can be opened for reading.
bool Readable(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

} // namespace

// Lives in the sound thread: loads the sound module at the first sound and
// hands it the sounds.
class TSoundHost : public QObject {
public:
    explicit TSoundHost(QObject* home) : Home(home) {}

    // Runs in the sound thread.
    void Play(const QString& path) {
        if (!Sink && !Tried) {
            Tried = true;
            QLibrary module(SoundModulePath());
            if (auto create =
                    reinterpret_cast<TCreateSoundSink>(module.resolve(ZIRMON_SOUND_SINK_FACTORY))) {
                QObject* home = Home;
                Sink.reset(create([home] { BeepOn(home); }));
            }
            // The module stays loaded to the end of the program.
        }
        if (Sink)
            Sink->Play(path);
        else
            BeepOn(Home);
    }

    // Runs in the sound thread as its last task: the sound effects go away
    // here, then the host hands itself back to `owner` so that it can be
    // deleted there once the thread has ended.
    void Shutdown(QThread* owner) {
        Sink.reset();
        moveToThread(owner);
        QThread::currentThread()->quit();
    }

private:
    QObject* Home;
    std::unique_ptr<TSoundSink> Sink;
    bool Tried = false;
};

TThreadSoundPlayer::TThreadSoundPlayer() = default;

TThreadSoundPlayer::~TThreadSoundPlayer() {
    if (!Thread)
        return;
    TSoundHost* host = Host;
    QThread* owner = QThread::currentThread();
    QMetaObject::invokeMethod(
        Host, [host, owner] { host->Shutdown(owner); }, Qt::QueuedConnection);
    Thread->wait();
    delete Host;
    delete Thread;
}

void TThreadSoundPlayer::StartThread() {
    Thread = new QThread;
    Thread->setObjectName(QStringLiteral("zirmon-sound"));
    Host = new TSoundHost(&Home);
    Host->moveToThread(Thread);
    Thread->start();
}

void TThreadSoundPlayer::Play(const QString& fileName) {
    const QString path = SoundFilePath(fileName);
    if (!HandedOver.contains(path)) {
        if (!Readable(path)) {
            if (SoundBeep)
                SoundBeep();
            return;
        }
        HandedOver.insert(path);
    }
    if (!Thread)
        StartThread();
    TSoundHost* host = Host;
    QMetaObject::invokeMethod(
        Host, [host, path] { host->Play(path); }, Qt::QueuedConnection);
}

#ifdef Q_OS_WIN
namespace {
int WinmmPlay(const wchar_t* path, unsigned flags) {
    return sndPlaySoundW(path, flags);
}
} // namespace

int (*SndPlaySound)(const wchar_t* path, unsigned flags) = &WinmmPlay;

void TWinmmSoundPlayer::Play(const QString& fileName) {
    const QString path = QDir::toNativeSeparators(SoundFilePath(fileName));
    SndPlaySound(reinterpret_cast<const wchar_t*>(path.utf16()), SND_ASYNC);
}
#endif
