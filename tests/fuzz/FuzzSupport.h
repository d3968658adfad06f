#pragma once

// What every fuzz target shares: a failed property aborts with a message,
// which libFuzzer reports as a finding and keeps the input that caused it.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

[[noreturn]] inline void FuzzFailure(const char* what, const char* file, int line) {
    std::fprintf(stderr, "property failed: %s (%s:%d)\n", what, file, line);
    std::abort();
}

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzFailure(#condition, __FILE__, __LINE__);                                           \
    } while (false)

// The input as a text. The first byte chooses how the rest is read: an odd
// one takes every two bytes as one UTF-16 code unit (lone surrogates and all),
// an even one takes each byte as one Latin-1 character, which reaches the
// digits, signs and prefixes more often.
inline QString TextFromInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return QString();
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const qsizetype length = qsizetype(size - 1);
    if (data[0] & 1) {
        QString text(length / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < length / 2; ++i) {
            const auto low = static_cast<unsigned char>(rest[2 * i]);
            const auto high = static_cast<unsigned char>(rest[2 * i + 1]);
            text[i] = QChar(char16_t(low | (high << 8)));
        }
        return text;
    }
    return QString::fromLatin1(rest, length);
}

// True when every line break of text is a CR LF pair.
inline bool OnlyCrLfBreaks(const QString& text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == u'\r' && (i + 1 >= n || text[i + 1] != u'\n'))
            return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return false;
    }
    return true;
}

inline bool OnlyCrLfBreaks(const QByteArray& bytes) {
    return OnlyCrLfBreaks(QString::fromLatin1(bytes));
}
