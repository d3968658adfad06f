#include "ModalDriver.h"

#include "practice/PracticeState.h"
#include "windows/Nastzirm.h"
#include "windows/Zadanhe.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QRadioButton>
#include <QtTest>
#include <memory>

QStringList Failures;
QList<QPointer<QTimer>> Waits;

// As soon as the active modal window satisfies match, makes it the active
// window and runs act on it. A required wait that sees no such window
// within five seconds is a failure and closes the modal windows, so that
// the test goes on; an optional one just stops.
void WhenModal(const char* what, std::function<bool(QWidget*)> match,
               std::function<void(QWidget*)> act, bool required) {
    auto* timer = new QTimer(qApp);
    Waits << timer;
    auto deadline = std::make_shared<QDeadlineTimer>(5000);
    const QString name = QString::fromLatin1(what);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->isVisible() && match(w)) {
            timer->stop();
            timer->deleteLater();
            if (!w->isActiveWindow()) {
                w->activateWindow();
                if (!QTest::qWaitForWindowActive(w))
                    Failures << name + QStringLiteral(" did not become active");
            }
            act(w);
            return;
        }
        if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
            if (!required)
                return;
            Failures << QStringLiteral("no ") + name;
            for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i) {
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    d->done(QDialog::Rejected);
                else
                    QApplication::activeModalWidget()->hide();
            }
        }
    });
    timer->start(10);
}

std::function<bool(QWidget*)> Is(QWidget* target) {
    return [target](QWidget* w) { return w == target; };
}

std::function<bool(QWidget*)> IsBox(const char* objectName) {
    return [objectName](QWidget* w) {
        return qobject_cast<QMessageBox*>(w) && w->objectName() == QLatin1String(objectName);
    };
}

// Notes "caption|text" of a message box and presses its "OK".
std::function<void(QWidget*)> NoteAndConfirm(QStringList* log) {
    return [log](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        *log << box->windowTitle() + QLatin1Char('|') + box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    };
}

void StopWaiting() {
    for (const QPointer<QTimer>& t : std::as_const(Waits)) {
        if (t)
            t->deleteLater();
    }
    Waits.clear();
}

QWidget* Focused() {
    // An open menu takes the keys, as it grabs the keyboard on a real screen.
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    QWidget* w = QApplication::focusWidget();
    return w ? w : QApplication::activeWindow();
}

QString FocusName() {
    const QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("<none>");
}

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(Focused(), key, modifiers);
}

// Boxes and radio buttons are clicked on their indicator, buttons in the middle.
void Click(QWidget* w) {
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(8, w->height() / 2));
    else
        QTest::mouseClick(w, Qt::LeftButton);
}

void Type(const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, Focused(), Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void AnswerGate(const QString& entry, const QString& how) {
    Type(entry);
    if (how == "OK")
        Click(PasswordDlg1->OKBtn);
    else if (how == "Enter")
        Key(Qt::Key_Return);
    else if (how == "Zrušit")
        Click(PasswordDlg1->CancelBtn);
    else if (how == "Esc")
        Key(Qt::Key_Escape);
    else
        PasswordDlg1->close();
}

void PassTheGate() {
    if (setpoc->joheslo->isChecked() && !PracticeState.StoredPassword.isEmpty())
        WhenModal("password gate", Is(PasswordDlg1),
                  [](QWidget*) { AnswerGate(PracticeState.StoredPassword, "OK"); });
}
