#include "practice/Evaluation.h"

#include "practice/Pause.h"
#include "store/IntText.h"

#include <QTime>
#include <algorithm>
#include <chrono>

int ParseAnswer(const QString& text) {
    const TNumberStart start = ScanNumberStart(text);
    const bool negative = start.Negative;
    const int base = start.Base;
    const qsizetype length = text.size();
    qsizetype i = start.Pos;
    // Unsigned arithmetic: a long text wraps instead of overflowing.
    unsigned value = 0;
    bool anyDigit = false;
    for (; i < length; ++i) {
        const int digit = HexDigitValue(text.at(i));
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
    void Sleep(int ms) override { SleepAnswering(ms); }
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
