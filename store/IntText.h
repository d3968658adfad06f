#pragma once

#include <QString>
#include <optional>

// The start of a number as both readings see it: leading blanks skipped, one
// sign, then the base given by a prefix "$", "x", "X", "0x" or "0X" (16) or
// none (10). Pos is where the digits begin.
struct TNumberStart {
    qsizetype Pos;
    bool Negative;
    int Base;
};
TNumberStart ScanNumberStart(const QString& text);

// The value of one digit 0-9, a-f or A-F; -1 for any other character.
int HexDigitValue(QChar c);

// Strict text to integer: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X", and
// nothing after them. Decimal must fit the signed 32-bit range; up to eight
// hexadecimal digits are taken as a 32-bit pattern.
std::optional<int> TryStrToInt(const QString& text);

// As TryStrToInt, but a text that is no number raises
// "'%s' is not a valid integer value".
int StrToInt(const QString& text);

// Plain decimal: a leading "-" for negative numbers, no blanks.
QString IntToStr(int value);

// A count as the grids hold it: six blanks, then the decimal number.
QString CellText(int value);

// Adds one to a counter; a counter at the 32-bit maximum stays there.
void IncrementCount(int& counter);

// The sum of counters, held at the 32-bit limits instead of overflowing.
int SumCounts(int a, int b, int c, int d);
