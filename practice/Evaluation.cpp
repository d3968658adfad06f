#include "practice/Evaluation.h"

#include "store/IntText.h"

#include <QTime>
#include <algorithm>
#include <chrono>
#include <thread>

namespace {
int DigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}
} // namespace

int ParseAnswer(const QString& text) {
    const int length = int(text.size());
    int i = 0;
    while (i < length && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < length && text.at(i) == QLatin1Char('-')) {
        negative = true;
        ++i;
    } else if (i < length && text.at(i) == QLatin1Char('+')) {
        ++i;
    }
    int base = 10;
    if (i < length && (text.at(i) == QLatin1Char('$') || text.at(i) == QLatin1Char('x') ||
                       text.at(i) == QLatin1Char('X'))) {
        base = 16;
        ++i;
    } else if (i + 1 < length && text.at(i) == QLatin1Char('0') &&
               (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    // Unsigned arithmetic: a long text wraps instead of overflowing.
    unsigned value = 0;
    bool anyDigit = false;
    for (; i < length; ++i) {
        const int digit = DigitValue(text.at(i));
        if (digit < 0 || digit >= base)
            return int(value); // stopped early: the sign is dropped
        value = value * unsigned(base) + unsigned(digit);
        anyDigit = true;
    }
    if (!anyDigit)
        return 0;
    return negative ? int(0u - value) : int(value);
}

QString WrongAnswerLine(int first, const char* operatorText, int second, int answer) {
    return IntToStr(first) + QLatin1String(operatorText) + IntToStr(second) +
           QLatin1String("    =    ") + IntToStr(answer);
}

namespace {
class TSystemClock : public TClock {
public:
    int LocalSeconds() override { return QTime::currentTime().second(); }
    long long ElapsedMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};
TSystemClock SystemClock;
} // namespace

TClock* Clock = &SystemClock;

void WaitSeconds(int n) {
    int target = Clock->LocalSeconds() + n;
    if (target >= 60)
        target -= 60;
    const long long start = Clock->ElapsedMs();
    const long long limit = static_cast<long long>(n) * 1000;
    for (;;) {
        if (Clock->LocalSeconds() == target)
            return;
        const long long passed = Clock->ElapsedMs() - start;
        if (passed >= limit)
            return;
        Clock->Sleep(int(std::min<long long>(10, limit - passed)));
    }
}
