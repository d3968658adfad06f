#include "practice/Pause.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return true;
    default:
        return false;
    }
}

// Holds back the input that reaches the application during the sleep.
class THold : public QObject {
public:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> Held;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (IsInput(event->type())) {
            Held.emplace_back(watched, event->clone());
            return true;
        }
        // A button's timer (a delayed click, an auto-repeat) keeps running
        // and fires again after the pause. Other widgets' timers run: an
        // item view's zero-time layout timer, held, would fire without end
        // and keep a core busy for the whole pause.
        return event->type() == QEvent::Timer && watched->inherits("QAbstractButton");
    }
};

} // namespace

void SleepAnswering(int ms) {
    QCoreApplication* const app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    THold hold;
    app->installEventFilter(&hold);
    {
        QEventLoop loop;
        QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    app->removeEventFilter(&hold);
    for (auto& [receiver, event] : hold.Held)
        if (receiver)
            QCoreApplication::postEvent(receiver, event.release());
}
