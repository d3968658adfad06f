// The wrong-answer list file: decoding any bytes, then saving the text and
// reading it back. Properties: no crash, the encoding is the one the mark
// names, only CR LF line breaks, and a save followed by a load gives the same
// text in the same encoding.
#include "FuzzSupport.h"
#include "store/ListFile.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

TListEncoding EncodingByMark(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TListEncoding::Utf8;
    if (bytes.startsWith("\xFF\xFE"))
        return TListEncoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return TListEncoding::Utf16BE;
    return TListEncoding::Ansi;
}

qsizetype MarkSize(TListEncoding encoding) {
    switch (encoding) {
    case TListEncoding::Utf8:
        return 3;
    case TListEncoding::Utf16LE:
    case TListEncoding::Utf16BE:
        return 2;
    case TListEncoding::Ansi:
        break;
    }
    return 0;
}

// One disk round trip now and then, through the functions the windows use.
void DiskRoundTrip(const QByteArray& bytes, const QString& text) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("priklad.dat"));
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_REQUIRE(file.write(bytes) == bytes.size());
    file.close();
    FUZZ_REQUIRE(LoadListFile(path) == text);
    SaveListFile(path, text);
    FUZZ_REQUIRE(LoadListFile(path) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TListEncoding encoding = TListEncoding::Ansi;
    const QString text = DecodeListFile(bytes, encoding);
    FUZZ_REQUIRE(encoding == EncodingByMark(bytes));
    FUZZ_REQUIRE(OnlyCrLfBreaks(text));
    // Without line breaks to rewrite, a byte-wide text keeps one character
    // for every byte after the mark.
    if (encoding == TListEncoding::Ansi && !bytes.contains('\r') && !bytes.contains('\n'))
        FUZZ_REQUIRE(text.size() == bytes.size());

    const QByteArray saved = EncodeListFile(text, encoding);
    FUZZ_REQUIRE(saved.size() >= MarkSize(encoding));
    TListEncoding again = TListEncoding::Ansi;
    FUZZ_REQUIRE(DecodeListFile(saved, again) == text);
    FUZZ_REQUIRE(again == encoding);
    // A file that already had CR LF breaks only and valid text is written
    // back byte for byte.
    if (encoding == TListEncoding::Ansi && OnlyCrLfBreaks(bytes))
        FUZZ_REQUIRE(saved == bytes);

    static unsigned runs = 0;
    if (++runs % 4096 == 0) {
        LastListEncoding = TListEncoding::Ansi;
        DiskRoundTrip(bytes, text);
        FUZZ_REQUIRE(LastListEncoding == encoding);
    }
    return 0;
}
