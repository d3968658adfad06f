#include "Sound.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

TSoundPlayer* SoundPlayer = nullptr;

void (*SoundBeep)() = &QApplication::beep;

QString SoundFilePath(const QString& fileName) {
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const QString beside = exeDir.filePath(fileName);
    if (QFileInfo(fileName).isAbsolute() || QFileInfo::exists(beside))
        return QDir::cleanPath(beside);
    return QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/zirmon/") + fileName));
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

// Lives in the sound thread and owns the sound effects, one per file.
class TSoundWorker : public QObject {
public:
    explicit TSoundWorker(QObject* home) : Home(home) {}

    // Runs in the sound thread.
    void Play(const QString& path) {
        QSoundEffect*& effect = Effects[path];
        bool fresh = false;
        if (!effect) {
            effect = new QSoundEffect(this);
            QSoundEffect* created = effect;
            connect(created, &QSoundEffect::statusChanged, this, [this, created] {
                if (created->status() == QSoundEffect::Error)
                    BeepOn(Home);
            });
            created->setSource(QUrl::fromLocalFile(path));
            fresh = true;
        }
        if (effect->status() == QSoundEffect::Error) {
            // A fresh effect has already beeped through its status signal.
            if (!fresh)
                BeepOn(Home);
            return;
        }
        for (QSoundEffect* other : std::as_const(Effects)) {
            if (other != effect)
                other->stop();
        }
        effect->stop();
        effect->play(); // while still loading, it starts as soon as it is loaded
    }

    // Runs in the sound thread as its last task: the effects and their audio
    // outputs go away here, then the worker hands itself back to `owner` so
    // that it can be deleted there once the thread has ended.
    void Shutdown(QThread* owner) {
        for (QSoundEffect* effect : std::as_const(Effects))
            delete effect;
        Effects.clear();
        // The effects leave their audio outputs to deleteLater; take them now.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        moveToThread(owner);
        QThread::currentThread()->quit();
    }

private:
    QObject* Home;
    QHash<QString, QSoundEffect*> Effects;
};

TThreadSoundPlayer::TThreadSoundPlayer() = default;

TThreadSoundPlayer::~TThreadSoundPlayer() {
    if (!Thread)
        return;
    TSoundWorker* worker = Worker;
    QThread* owner = QThread::currentThread();
    QMetaObject::invokeMethod(
        Worker, [worker, owner] { worker->Shutdown(owner); }, Qt::QueuedConnection);
    Thread->wait();
    delete Worker;
    delete Thread;
}

void TThreadSoundPlayer::StartThread() {
    Thread = new QThread;
    Thread->setObjectName(QStringLiteral("zirmon-sound"));
    Worker = new TSoundWorker(&Home);
    Worker->moveToThread(Thread);
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
    TSoundWorker* worker = Worker;
    QMetaObject::invokeMethod(
        Worker, [worker, path] { worker->Play(path); }, Qt::QueuedConnection);
}
