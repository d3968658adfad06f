// The lenient answer reading against a reading of its own, which reads the
// run of digits with strtoull in short pieces and keeps it modulo 2^32.
#include "FuzzSupport.h"
#include "practice/Evaluation.h"
#include "store/IntText.h"

#include <optional>
#include <string>

namespace {

std::uint32_t AsBits(int value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The value of a run of digits modulo 2^32, eight digits at a time: 16^8 is
// 2^32, so of a hexadecimal run only the last eight digits count.
std::uint32_t RunValue(const std::string& run, int base) {
    std::uint64_t value = 0;
    for (std::size_t at = 0; at < run.size(); at += 8) {
        const std::string piece = run.substr(at, 8);
        std::uint64_t scale = 1;
        for (std::size_t k = 0; k < piece.size(); ++k)
            scale *= std::uint64_t(base);
        value = (value * scale + std::strtoull(piece.c_str(), nullptr, base)) & 0xFFFFFFFFull;
    }
    return std::uint32_t(value);
}

std::uint32_t Reference(const QString& text) {
    // Past the ASCII range nothing is a digit: such a character stops the
    // reading like any other, so it is kept here as a stop mark.
    std::string s;
    for (const QChar c : text)
        s += c.unicode() > 0 && c.unicode() < 0x80 ? char(c.unicode()) : '\x01';
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        base = 16;
        i += 1;
    } else if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    }
    const char* digits = base == 10 ? "0123456789" : "0123456789abcdefABCDEF";
    std::size_t end = s.find_first_not_of(digits, i);
    const bool stoppedEarly = end != std::string::npos;
    if (!stoppedEarly)
        end = s.size();
    const std::uint32_t value = RunValue(s.substr(i, end - i), base);
    // A reading cut short by another character loses its sign.
    if (stoppedEarly || !negative)
        return value;
    return std::uint32_t(0) - value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = TextFromInput(data, size);
    const int value = ParseAnswer(text);
    FUZZ_REQUIRE(AsBits(value) == Reference(text));
    // Where the strict reading finds a number, the lenient one finds the same.
    if (const std::optional<int> strict = TryStrToInt(text))
        FUZZ_REQUIRE(*strict == value);
    return 0;
}
