#include "store/ListFile.h"

#include "store/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

TListEncoding LastListEncoding = TListEncoding::Ansi;

namespace {

const char* const AnsiEncoding = "windows-1250";

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

TListEncoding DetectEncoding(const QByteArray& bytes) {
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
    if (encoding != TListEncoding::Ansi)
        return TConverter(UnicodeEncoding(encoding), ConverterFlags);
    TConverter converter(AnsiEncoding, ConverterFlags);
    if (!converter.isValid())
        throw EZirmonError(
            QString("The %1 text encoding is not available on this system").arg(AnsiEncoding));
    return converter;
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

// The system's description of a failure, as the end of our own sentence.
QString Reason(const QFileDevice& file) {
    QString reason = file.errorString();
    if (reason.endsWith(u'.'))
        reason.chop(1);
    return reason;
}

[[noreturn]] void ThrowOpenError(const QString& path, const QString& reason) {
    throw EZirmonError(QString("Cannot open file \"%1\". %2").arg(path, reason));
}

[[noreturn]] void ThrowCreateError(const QString& path, const QFileDevice& file) {
    throw EZirmonError(QString("Cannot create file \"%1\". %2").arg(path, Reason(file)));
}

} // namespace

QString LoadListFile(const QString& path) {
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile()) {
        // Opening a pipe or a device could block; a missing file or a folder
        // is safe to try, and the failure describes itself.
        if (info.exists() && !info.isDir())
            ThrowOpenError(path, "Not a regular file");
        if (!file.open(QIODevice::ReadOnly))
            ThrowOpenError(path, Reason(file));
        ThrowOpenError(path, "Not a regular file");
    }
    if (!file.open(QIODevice::ReadOnly))
        ThrowOpenError(path, Reason(file));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        ThrowOpenError(path, Reason(file));

    const TListEncoding encoding = DetectEncoding(bytes);
    QStringDecoder decoder = MakeConverter<QStringDecoder>(encoding);
    const QString text = decoder.decode(QByteArrayView(bytes).sliced(MarkOf(encoding).size()));
    LastListEncoding = encoding;
    return ToCrLf(text);
}

void SaveListFile(const QString& path, const QString& text) {
    QStringEncoder encoder = MakeConverter<QStringEncoder>(LastListEncoding);
    const QByteArray bytes = MarkOf(LastListEncoding) + QByteArray(encoder.encode(text));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        ThrowCreateError(path, file);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        ThrowCreateError(path, file);
    }
    if (!file.commit())
        ThrowCreateError(path, file);
}
