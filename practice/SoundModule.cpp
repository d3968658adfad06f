// The sound module: the sound effects of the sound thread. It is built as a
// library of its own and loaded at the first sound, so that the program
// starts without the audio libraries.
#include "practice/Sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QHash>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

// Where the system has no audio output at all, every sound is silence: no
// sound is tried and nothing beeps, whatever the audio libraries would make
// of it (some versions stay silent, others fail and so would beep).
bool HasAudioOutput() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

// One sound effect per file, each decoded once.
class TEffectSink : public TSoundSink {
public:
    explicit TEffectSink(std::function<void()> failed) : Failed(std::move(failed)) {}

    ~TEffectSink() override {
        for (QSoundEffect* effect : std::as_const(Effects))
            delete effect;
        // The effects leave their audio outputs to deleteLater; take them now,
        // while still in the thread they belong to.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Play(const QString& path) override {
        if (!HasAudioOutput())
            return;
        QSoundEffect*& effect = Effects[path];
        bool fresh = false;
        if (!effect) {
            effect = new QSoundEffect;
            QSoundEffect* created = effect;
            QObject::connect(created, &QSoundEffect::statusChanged, created, [this, created] {
                if (created->status() == QSoundEffect::Error && HasAudioOutput())
                    Failed();
            });
            created->setSource(QUrl::fromLocalFile(path));
            fresh = true;
        }
        if (effect->status() == QSoundEffect::Error) {
            // A fresh effect has already failed through its status signal.
            if (!fresh)
                Failed();
            return;
        }
        for (QSoundEffect* other : std::as_const(Effects)) {
            if (other != effect)
                other->stop();
        }
        effect->stop();
        effect->play(); // while still loading, it starts as soon as it is loaded
    }

private:
    std::function<void()> Failed;
    QHash<QString, QSoundEffect*> Effects;
};

} // namespace

extern "C" Q_DECL_EXPORT TSoundSink* ZirmonCreateSoundSink(std::function<void()> failed) {
    return new TEffectSink(std::move(failed));
}
