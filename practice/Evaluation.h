#pragma once

#include <QDateTime>
#include <QString>

// The lenient reading of the answer field: never fails. A sign, then decimal
// digits or hexadecimal ones after "$", "x", "X" or "0x"; reading stops at
// the first other character, and a number cut short that way loses its sign.
int ParseAnswer(const QString& text);

// The operator texts of the wrong-answer line.
inline const char* const MulLineText = "   *    ";
inline const char* const DivLineText = "   :     ";
inline const char* const AddLineText = "  +     ";
inline const char* const SubLineText = "    -   ";

// One line of the wrong-answer list: first operand, operator text, second
// operand, "    =    " and the answer value, all without separators.
QString WrongAnswerLine(int first, const char* operatorText, int second, int answer);

// The clock the pause reads; tests put a double in its place.
class TClock {
public:
    virtual ~TClock() = default;
    virtual int LocalSeconds() = 0;    // seconds field of the local time, 0 to 59
    virtual long long ElapsedMs() = 0; // a monotonic clock in milliseconds
    virtual void Sleep(int ms) = 0;
    // The local date and time, as the journal records them.
    virtual QDateTime LocalNow() { return QDateTime::currentDateTime(); }
};
extern TClock* Clock;

// Waits until the local clock's seconds field has moved on by n, or until
// n seconds have passed on the monotonic clock, whichever comes first. The
// wait sleeps in short slices (on the real clock answering the window system
// and screen readers, but holding input back: practice/Pause.h).
void WaitSeconds(int n);
