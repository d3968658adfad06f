#include "windows/Speak.h"

#include "windows/Mainzirm.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif

namespace {

bool Listening() {
    return QAccessible::isActive();
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// An empty, transparent spot of one pixel in the window's corner; to a
// screen reader a notification whose name is the message.
class TSpeaker : public QWidget {
public:
    explicit TSpeaker(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("hlas"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
    }
    QString Message;
};

class TSpeakerAccessible : public QAccessibleWidget {
public:
    explicit TSpeakerAccessible(TSpeaker* speaker)
        : QAccessibleWidget(speaker, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<TSpeaker*>(widget())->Message;
        return QString();
    }
};

QAccessibleInterface* SpeakerAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("QWidget"))
        return nullptr;
    if (auto* speaker = dynamic_cast<TSpeaker*>(object))
        return new TSpeakerAccessible(speaker);
    return nullptr;
}

TSpeaker* SpeakerOf(QWidget* window) {
    static const bool factory = (QAccessible::installFactory(&SpeakerAccessible), true);
    Q_UNUSED(factory);
    for (QObject* child : window->children())
        if (auto* speaker = dynamic_cast<TSpeaker*>(child))
            return speaker;
    return new TSpeaker(window);
}
#endif

QString OperatorWord(const QString& sign) {
    if (sign == QLatin1String("+"))
        return QStringLiteral("plus");
    if (sign == QLatin1String("-"))
        return QStringLiteral("minus");
    if (sign == QLatin1String("x"))
        return QStringLiteral("krát");
    if (sign == QLatin1String(":"))
        return QStringLiteral("děleno");
    return sign;
}

} // namespace

void Speak(QWidget* window, const QString& message) {
    if (!Listening() || !window || message.isEmpty())
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(window, message);
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Assertive);
    QAccessible::updateAccessibility(&event);
#else
    // A notification coming into view is spoken; hidden first, it comes
    // into view again for each message.
    TSpeaker* speaker = SpeakerOf(window);
    speaker->Message = message;
    speaker->hide();
    speaker->show();
#endif
}

QString ProblemWords() {
    return Form1->L1->text() + QLatin1Char(' ') + OperatorWord(Form1->oper->text()) +
           QLatin1Char(' ') + Form1->L2->text() + QStringLiteral(" rovná se");
}

void SpeakProblem() {
    if (!Listening())
        return;
    const QString words = ProblemWords();
    Form1->vy->setAccessibleDescription(words);
    Speak(Form1, words);
}

void SpeakVerdict(bool right) {
    if (right) {
        Speak(Form1, QStringLiteral("Správně"));
        return;
    }
    // After a mistake the solution shown is said too, in words:
    // "7 x 8 = 56" as "7 krát 8 rovná se 56".
    QStringList words = Form1->reseni->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() == 5) {
        words[1] = OperatorWord(words[1]);
        words[3] = QStringLiteral("rovná se");
    }
    words.prepend(QStringLiteral("Špatně."));
    Speak(Form1, words.join(QLatin1Char(' ')));
}

void TellFocusLater() {
    if (!Listening())
        return;
    QTimer::singleShot(0, qApp, [] {
        if (QWidget* focus = QApplication::focusWidget()) {
            QAccessibleEvent event(focus, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
    });
}
