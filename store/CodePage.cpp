#include "store/CodePage.h"

#include "store/Errors.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <climits>

namespace {

// The conversion functions of Windows count in int.
int CheckedSize(qsizetype size) {
    if (size > INT_MAX / 2)
        throw EZirmonError(QStringLiteral("The text is too long for the %1 text encoding")
                               .arg(AnsiCodePageName()));
    return int(size);
}

[[noreturn]] void ThrowNoEncoding() {
    throw EZirmonError(QStringLiteral("The %1 text encoding is not available on this system")
                           .arg(AnsiCodePageName()));
}

// WideCharToMultiByte, and whether it had to put in the substitute.
QByteArray Encode(QStringView text, bool& substituted) {
    substituted = false;
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = CheckedSize(text.size());
    // UTF-8 has no substitute and takes neither the flag nor the report.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        ThrowNoEncoding();
    QByteArray bytes(size, Qt::Uninitialized);
    if (WideCharToMultiByte(CP_ACP, flags, wide, length, bytes.data(), size, nullptr,
                            utf8 ? nullptr : &usedDefault) != size)
        ThrowNoEncoding();
    substituted = usedDefault;
    return bytes;
}

} // namespace

QString AnsiCodePageName() {
    return QStringLiteral("windows-%1").arg(GetACP());
}

QString AnsiDecode(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return QString();
    const int length = CheckedSize(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        ThrowNoEncoding();
    QString text(size, Qt::Uninitialized);
    if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), length,
                            reinterpret_cast<wchar_t*>(text.data()), size) != size)
        ThrowNoEncoding();
    return text;
}

QByteArray AnsiEncode(QStringView text) {
    bool substituted = false;
    return Encode(text, substituted);
}

bool AnsiHolds(QStringView text) {
    bool substituted = false;
    const QByteArray bytes = Encode(text, substituted);
    return !substituted && AnsiDecode(bytes) == text;
}

#else
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char* const Encoding = "windows-1250";

// Whole-text conversion: the end of the bytes is the end of the text, and a
// leading mark is an ordinary character.
constexpr QStringConverter::Flags Flags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

template <typename TConverter> TConverter MakeConverter() {
    TConverter converter(Encoding, Flags);
    if (!converter.isValid())
        throw EZirmonError(
            QStringLiteral("The %1 text encoding is not available on this system").arg(Encoding));
    return converter;
}

} // namespace

QString AnsiCodePageName() {
    return QString::fromLatin1(Encoding);
}

QString AnsiDecode(QByteArrayView bytes) {
    QStringDecoder decoder = MakeConverter<QStringDecoder>();
    return decoder.decode(bytes);
}

QByteArray AnsiEncode(QStringView text) {
    QStringEncoder encoder = MakeConverter<QStringEncoder>();
    return encoder.encode(text);
}

bool AnsiHolds(QStringView text) {
    QStringEncoder encoder = MakeConverter<QStringEncoder>();
    QStringDecoder decoder = MakeConverter<QStringDecoder>();
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return false;
    const QString back = decoder.decode(bytes);
    return !decoder.hasError() && back == text;
}

#endif
