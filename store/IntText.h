#pragma once

#include <QString>
#include <optional>

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
