#pragma once

#include <QString>

class QWidget;

// What a screen reader says without the focus moving: the problem as it
// appears, the verdict, the status of a dialog. Nothing is done while no
// reader listens (QAccessible::isActive()).

// Says a message from the given window. Before Qt 6.8 a small notification
// of the window, shown anew for each message, carries it; from 6.8 on an
// announcement does.
void Speak(QWidget* window, const QString& message);

// The problem on the main window, in words: "7 plus 5 rovná se". Also left
// as the description of the answer field, read when the field gets focus.
QString ProblemWords();
void SpeakProblem();

// "Správně" or "Špatně", the latter with the solution the main window
// shows ("Špatně. 7 krát 8 rovná se 56").
void SpeakVerdict(bool right);

// Tells the reader again which control has the focus, once the current event
// step is over: a step run on a change of focus may move it on before Qt's
// own focus event for the first change goes out.
void TellFocusLater();
