#include "store/ProfileFile.h"

#include "store/CodePage.h"
#include "store/Errors.h"
#include "store/IntText.h"
#include "store/WholeFile.h"

#include <algorithm>
#include <cstring>

// The file is read and written as bytes. The ANSI code page (windows-1250)
// gives one character for every byte and keeps the line breaks, blanks,
// quotes, brackets and equals signs as the ASCII bytes they are, so only the
// names compared and the value looked for need decoding, and the lines a
// write does not touch are copied as they stand. That keeps even a file of many megabytes quick.

namespace {

constexpr qsizetype MaxValueLength = 2047;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView TrimBlanks(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

char AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char(c - u'A' + 'a') : char(c);
}

// A name of the file against one asked for, without regard to letter case.
// Each byte is one character, so only names of the same length can match.
bool SameName(QByteArrayView raw, QStringView name) {
    if (raw.size() != name.size())
        return false;
    bool ascii = true;
    for (qsizetype i = 0; i < raw.size() && ascii; ++i)
        ascii = static_cast<unsigned char>(raw[i]) < 0x80 && name[i].unicode() < 0x80;
    if (!ascii)
        return AnsiDecode(raw).compare(name, Qt::CaseInsensitive) == 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (AsciiLower(char16_t(static_cast<unsigned char>(raw[i]))) !=
            AsciiLower(name[i].unicode()))
            return false;
    }
    return true;
}

// A section line: "[name]" with anything after the first ']'.
bool ParseSection(QByteArrayView line, QByteArrayView& name) {
    const QByteArrayView trimmed = TrimBlanks(line);
    if (!trimmed.startsWith('['))
        return false;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return false;
    name = TrimBlanks(trimmed.sliced(1, close - 1));
    return true;
}

// An entry line: "key=value"; the value is everything after the first '='.
bool ParseEntry(QByteArrayView line, QByteArrayView& key, QByteArrayView& value) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return false;
    key = TrimBlanks(line.first(equals));
    value = line.sliced(equals + 1);
    return true;
}

QByteArrayView CleanValue(QByteArrayView raw) {
    QByteArrayView value = TrimBlanks(raw);
    if (value.size() >= 2) {
        const char first = value.front();
        if ((first == '"' || first == '\'') && value.back() == first)
            value = value.sliced(1, value.size() - 2);
    }
    return value;
}

qsizetype NextOf(QByteArrayView text, qsizetype from, char c) {
    const void* hit = std::memchr(text.data() + from, c, size_t(text.size() - from));
    return hit ? static_cast<const char*>(hit) - text.data() : text.size();
}

// Calls lineFound for each line, split at CR LF, lone CR or lone LF, until it
// returns false. A break at the very end does not start another line.
template <typename TCallback> void ForEachLine(QByteArrayView text, TCallback lineFound) {
    const qsizetype n = text.size();
    qsizetype nextCr = -1;
    qsizetype nextLf = -1;
    qsizetype start = 0;
    while (start < n) {
        if (nextCr < start)
            nextCr = NextOf(text, start, '\r');
        if (nextLf < start)
            nextLf = NextOf(text, start, '\n');
        const qsizetype end = std::min(nextCr, nextLf);
        if (!lineFound(text.sliced(start, end - start)))
            return;
        if (end + 1 < n && text[end] == '\r' && text[end + 1] == '\n')
            start = end + 2;
        else
            start = end + 1;
    }
}

// Line breaks inside a value would split it into lines of their own.
QString SingleLine(QString value) {
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

[[noreturn]] void ThrowWriteError(const QString& path) {
    throw EZirmonError(QString("Unable to write to %1").arg(path));
}

} // namespace

std::optional<QString> ProfileValue(QByteArrayView bytes, QStringView section, QStringView key) {
    std::optional<QString> found;
    bool inSection = false;
    ForEachLine(bytes, [&](QByteArrayView line) {
        QByteArrayView name;
        QByteArrayView value;
        if (ParseSection(line, name)) {
            if (inSection)
                return false; // only the first section of that name counts
            inSection = SameName(name, section);
        } else if (inSection && ParseEntry(line, name, value) && SameName(name, key)) {
            const QByteArrayView clean = CleanValue(value);
            found = AnsiDecode(clean.first(std::min(clean.size(), MaxValueLength)));
            return false;
        }
        return true;
    });
    return found;
}

QByteArray ProfileWithValue(QByteArrayView bytes, QStringView section, QStringView key,
                            const QString& value) {
    const QByteArray cleanValue = AnsiEncode(SingleLine(value));

    // Where the write goes, in line numbers of the file.
    qsizetype lines = 0;
    qsizetype header = -1;
    qsizetype insertAt = -1;
    qsizetype replace = -1;
    QByteArrayView foundKey;
    ForEachLine(bytes, [&](QByteArrayView line) {
        const qsizetype i = lines++;
        QByteArrayView name;
        QByteArrayView raw;
        if (ParseSection(line, name)) {
            if (header >= 0)
                return false; // only the first section of that name counts
            if (SameName(name, section)) {
                header = i;
                insertAt = i + 1;
            }
        } else if (header >= 0 && ParseEntry(line, name, raw)) {
            if (SameName(name, key)) {
                replace = i;
                foundKey = name;
                return false;
            }
            insertAt = i + 1; // new keys go after the section's last entry
        }
        return true;
    });

    const QByteArray entry =
        (replace >= 0 ? foundKey.toByteArray() : AnsiEncode(key)) + '=' + cleanValue;
    QByteArray result;
    result.reserve(bytes.size() + entry.size() + section.size() + 8);
    qsizetype i = 0;
    ForEachLine(bytes, [&](QByteArrayView line) {
        if (i == insertAt && replace < 0)
            result += entry + "\r\n";
        result += i == replace ? QByteArrayView(entry) : line;
        result += "\r\n";
        ++i;
        return true;
    });
    if (header < 0)
        result += '[' + AnsiEncode(section) + "]\r\n" + entry + "\r\n";
    else if (replace < 0 && insertAt == i)
        result += entry + "\r\n";
    return result;
}

namespace {

std::optional<QString> ValueOnDisk(const QString& path, QStringView section, QStringView key) {
    const TFileRead file = ReadWholeFile(path);
    if (!file.Ok)
        return std::nullopt;
    return ProfileValue(file.Bytes, section, key);
}

} // namespace

TProfileFile::TProfileFile(QString path) : Path(std::move(path)) {}

QString TProfileFile::ReadString(const QString& section, const QString& key,
                                 const QString& def) const {
    return ValueOnDisk(Path, section, key).value_or(def);
}

int TProfileFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const std::optional<QString> value = ValueOnDisk(Path, section, key);
    if (!value)
        return def;
    return TryStrToInt(*value).value_or(def);
}

bool TProfileFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteStrings(section, {{key, value}});
}

void TProfileFile::WriteStrings(const QString& section,
                                const QList<std::pair<QString, QString>>& values) {
    // A file that is there but cannot be read is not written over.
    const TFileRead file = ReadWholeFile(Path);
    if (!file.Ok && !file.Missing)
        ThrowWriteError(Path);
    QByteArray bytes = file.Bytes;
    for (const auto& [key, value] : values)
        bytes = ProfileWithValue(bytes, section, key, value);
    if (!ReplaceWholeFile(Path, bytes, true).isEmpty())
        ThrowWriteError(Path);
}

void TProfileFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TProfileFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
