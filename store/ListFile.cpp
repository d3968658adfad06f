#include "store/ListFile.h"

#include "store/CodePage.h"
#include "store/Errors.h"
#include "store/WholeFile.h"

#include <QStringDecoder>
#include <QStringEncoder>

TListEncoding LastListEncoding = TListEncoding::Ansi;

namespace {

// Whole-file conversion: the end of the bytes is the end of the text, and a
// mark after the one already stripped is an ordinary character.
constexpr QStringConverter::Flags ConverterFlags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

QByteArray MarkOf(TListEncoding encoding) {
    switch (encoding) {
    case TListEncoding::Utf8:
        return QByteArray("\xEF\xBB\xBF");
    case TListEncoding::Utf16LE:
        return QByteArray("\xFF\xFE");
    case TListEncoding::Utf16BE:
        return QByteArray("\xFE\xFF");
    case TListEncoding::Ansi:
        break;
    }
    return QByteArray();
}

TListEncoding DetectEncoding(QByteArrayView bytes) {
    for (TListEncoding encoding :
         {TListEncoding::Utf8, TListEncoding::Utf16LE, TListEncoding::Utf16BE}) {
        if (bytes.startsWith(MarkOf(encoding)))
            return encoding;
    }
    return TListEncoding::Ansi;
}

QStringConverter::Encoding UnicodeEncoding(TListEncoding encoding) {
    switch (encoding) {
    case TListEncoding::Utf16LE:
        return QStringConverter::Utf16LE;
    case TListEncoding::Utf16BE:
        return QStringConverter::Utf16BE;
    default:
        return QStringConverter::Utf8;
    }
}

template <typename TConverter> TConverter MakeConverter(TListEncoding encoding) {
    return TConverter(UnicodeEncoding(encoding), ConverterFlags);
}

// Every CR LF, lone CR and lone LF becomes CR LF, in one pass.
QString ToCrLf(QStringView text) {
    QString result;
    result.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        result.append(text.mid(start, i - start));
        result.append(u"\r\n");
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    result.append(text.mid(start));
    return result;
}

[[noreturn]] void ThrowOpenError(const QString& path, const QString& reason) {
    throw EZirmonError(QString("Cannot open file \"%1\". %2").arg(path, reason));
}

[[noreturn]] void ThrowCreateError(const QString& path, const QString& reason) {
    throw EZirmonError(QString("Cannot create file \"%1\". %2").arg(path, reason));
}

} // namespace

QString DecodeListFile(QByteArrayView bytes, TListEncoding& encoding) {
    encoding = DetectEncoding(bytes);
    if (encoding == TListEncoding::Ansi)
        return ToCrLf(AnsiDecode(bytes));
    QStringDecoder decoder = MakeConverter<QStringDecoder>(encoding);
    return ToCrLf(QString(decoder.decode(bytes.sliced(MarkOf(encoding).size()))));
}

QByteArray EncodeListFile(const QString& text, TListEncoding encoding) {
    if (encoding == TListEncoding::Ansi)
        return AnsiEncode(text);
    QStringEncoder encoder = MakeConverter<QStringEncoder>(encoding);
    return MarkOf(encoding) + QByteArray(encoder.encode(text));
}

QString LoadListFile(const QString& path) {
    const TFileRead file = ReadWholeFile(path);
    if (!file.Ok)
        ThrowOpenError(path, file.Reason);
    TListEncoding encoding = TListEncoding::Ansi;
    const QString text = DecodeListFile(file.Bytes, encoding);
    LastListEncoding = encoding;
    return text;
}

void SaveListFile(const QString& path, const QString& text) {
    const QString failure = ReplaceWholeFile(path, EncodeListFile(text, LastListEncoding), false);
    if (!failure.isEmpty())
        ThrowCreateError(path, failure);
}
