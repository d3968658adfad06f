#include "store/IntText.h"

#include "store/Errors.h"

#include <climits>
#include <cstdint>

int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

TNumberStart ScanNumberStart(const QString& text) {
    const qsizetype n = text.size();
    TNumberStart start{0, false, 10};
    qsizetype& i = start.Pos;
    while (i < n && text[i] == u' ')
        ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        start.Negative = text[i] == u'-';
        ++i;
    }
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        start.Base = 16;
        i += 1;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        start.Base = 16;
        i += 2;
    }
    return start;
}

namespace {

// The 32-bit two's-complement reading of a bit pattern, without relying on
// how the compiler converts out-of-range unsigned values.
int FromPattern(std::uint32_t bits) {
    if (bits <= static_cast<std::uint32_t>(INT_MAX))
        return static_cast<int>(bits);
    return -static_cast<int>(~bits) - 1;
}

} // namespace

std::optional<int> TryStrToInt(const QString& text) {
    const qsizetype n = text.size();
    const TNumberStart start = ScanNumberStart(text);
    qsizetype i = start.Pos;
    const bool negative = start.Negative;
    const bool hex = start.Base == 16;
    if (i >= n)
        return std::nullopt;

    if (hex) {
        std::uint64_t value = 0;
        for (; i < n; ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = 0u - bits;
        return FromPattern(bits);
    }

    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

int StrToInt(const QString& text) {
    const std::optional<int> value = TryStrToInt(text);
    if (!value)
        throw EZirmonError(QString("'%1' is not a valid integer value").arg(text));
    return *value;
}

QString IntToStr(int value) {
    return QString::number(value);
}

QString CellText(int value) {
    return QStringLiteral("      ") + QString::number(value);
}

void IncrementCount(int& counter) {
    if (counter < INT_MAX)
        ++counter;
}

int SumCounts(int a, int b, int c, int d) {
    const std::int64_t sum = std::int64_t(a) + b + c + d;
    if (sum > INT_MAX)
        return INT_MAX;
    if (sum < INT_MIN)
        return INT_MIN;
    return static_cast<int>(sum);
}
