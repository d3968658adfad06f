// The strict text-to-integer reading against a reading of its own, built on
// the C library's strtoll and strtoull.
#include "FuzzSupport.h"
#include "store/Errors.h"
#include "store/IntText.h"

#include <cerrno>
#include <climits>
#include <optional>
#include <string>

namespace {

bool IsDigitOf(char c, int base) {
    if (c >= '0' && c <= '9')
        return true;
    return base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

std::optional<int> Reference(const QString& text) {
    // Every character of a number is ASCII; anything else makes it no number.
    std::string s;
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 0x7F)
            return std::nullopt;
        s += char(c.unicode());
    }
    std::size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    } else if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        base = 16;
        i += 1;
    }
    const std::string digits = s.substr(std::min(i, s.size()));
    if (digits.empty())
        return std::nullopt;
    // strtoll would take blanks, signs and prefixes of its own: only digits
    // may reach it.
    for (const char c : digits) {
        if (!IsDigitOf(c, base))
            return std::nullopt;
    }
    errno = 0;
    if (base == 10) {
        const long long value = std::strtoll(digits.c_str(), nullptr, 10);
        if (errno == ERANGE)
            return std::nullopt;
        const long long signedValue = negative ? -value : value;
        if (signedValue < INT_MIN || signedValue > INT_MAX)
            return std::nullopt;
        return int(signedValue);
    }
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 16);
    if (errno == ERANGE || value > 0xFFFFFFFFull)
        return std::nullopt;
    std::uint32_t bits = std::uint32_t(value);
    if (negative)
        bits = std::uint32_t(0) - bits;
    int result = 0;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = TextFromInput(data, size);
    const std::optional<int> value = TryStrToInt(text);
    FUZZ_REQUIRE(value == Reference(text));

    // The raising reading agrees, with the message the error box shows.
    bool raised = false;
    try {
        FUZZ_REQUIRE(StrToInt(text) == *value);
    } catch (const EZirmonError& e) {
        raised = true;
        FUZZ_REQUIRE(e.message() == QString("'%1' is not a valid integer value").arg(text));
    }
    FUZZ_REQUIRE(raised == !value.has_value());

    // What the program writes of a number reads back as that number.
    if (value) {
        FUZZ_REQUIRE(TryStrToInt(IntToStr(*value)) == value);
        FUZZ_REQUIRE(TryStrToInt(CellText(*value)) == value);
        FUZZ_REQUIRE(IntToStr(*value) == QString::number(*value));
    }
    return 0;
}
