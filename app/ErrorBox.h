#pragma once

#include <QString>

// The title of the program's own boxes.
inline const char* const ApplicationTitle = "Zirmon";

// The program's error box: modal, error icon, one "OK", caption "Zirmon".
// A full stop is added when the message ends in a character above ".".
void ShowErrorBox(const QString& message);

// The message as the error box shows it.
QString ErrorBoxText(const QString& message);

// Runs one event step; an error raised inside it ends the step and is shown
// in the error box, so no exception reaches Qt's event loop.
template <typename Step> void RunStep(Step&& step) noexcept;

void ShowCaughtError() noexcept; // shows the exception being handled

template <typename Step> void RunStep(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
        ShowCaughtError();
    }
}

// The program's own message boxes, captioned "Information" and "Warning",
// with the matching icon and one "OK".
void ShowInformationBox(const QString& text);
void ShowWarningBox(const QString& text);

// The same information box captioned "Zirmon", for a second start.
void ShowProgramInformationBox(const QString& text);
