#pragma once

// Drives the modal dialogs as a user does: timers that wait for a modal
// window and act on it, keys and clicks to whatever has the focus.
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

extern QStringList Failures;          // what the timers found wrong
extern QList<QPointer<QTimer>> Waits; // timers still waiting for a window

// As soon as the active modal window satisfies match, makes it the active
// window and runs act on it. A required wait that sees no such window
// within five seconds is a failure and closes the modal windows, so that
// the test goes on; an optional one just stops.
void WhenModal(const char* what, std::function<bool(QWidget*)> match,
               std::function<void(QWidget*)> act, bool required = true);
std::function<bool(QWidget*)> Is(QWidget* target);
std::function<bool(QWidget*)> IsBox(const char* objectName);
// Notes "caption|text" of a message box and presses its "OK".
std::function<void(QWidget*)> NoteAndConfirm(QStringList* log);
void StopWaiting();

QWidget* Focused();
QString FocusName();
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Boxes and radio buttons are clicked on their indicator, buttons in the middle.
void Click(QWidget* w);
// Types text into the focused control, one character per key press.
void Type(const QString& text);
// Types entry into the password gate and leaves it by how: "OK", "Enter",
// "Zrušit", "Esc" or the close box (anything else).
void AnswerGate(const QString& entry, const QString& how);
// The settings and "Vymazat vše" open behind the password gate while the
// protection is on and a password is stored: then it gets the password.
void PassTheGate();
