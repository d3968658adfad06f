#include "store/ProfileFile.h"

#include "store/Errors.h"
#include "store/IntText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <optional>

namespace {

const char* const FileEncoding = "windows-1250";
constexpr qsizetype MaxValueLength = 2047;

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A section line: "[name]" with anything after the first ']'.
bool ParseSection(QStringView line, QStringView& name) {
    const QStringView trimmed = TrimBlanks(line);
    if (!trimmed.startsWith(u'['))
        return false;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return false;
    name = TrimBlanks(trimmed.mid(1, close - 1));
    return true;
}

// An entry line: "key=value"; the value is everything after the first '='.
bool ParseEntry(QStringView line, QStringView& key, QStringView& value) {
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return false;
    key = TrimBlanks(line.left(equals));
    value = line.mid(equals + 1);
    return true;
}

QStringView CleanValue(QStringView raw) {
    QStringView value = TrimBlanks(raw);
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    return value;
}

// Calls lineFound for each line, split at CR LF, lone CR or lone LF, until it
// returns false. A break at the very end does not start another line.
template <typename TCallback> void ForEachLine(QStringView text, TCallback lineFound) {
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (!lineFound(text.mid(start, end - start)))
            return;
        if (end + 1 < n && text[end] == u'\r' && text[end + 1] == u'\n')
            start = end + 2;
        else
            start = end + 1;
    }
}

QString Decode(const QByteArray& bytes) {
    QStringDecoder decoder(FileEncoding, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        throw EZirmonError(
            QString("The %1 text encoding is not available on this system").arg(FileEncoding));
    return decoder.decode(bytes);
}

QByteArray Encode(const QString& text) {
    QStringEncoder encoder(FileEncoding, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        throw EZirmonError(
            QString("The %1 text encoding is not available on this system").arg(FileEncoding));
    return encoder.encode(text);
}

// The text of the file for reading; nothing when it is missing, is no
// regular file (a folder, or a pipe that would block) or cannot be read.
std::optional<QString> ReadText(const QString& path) {
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return Decode(bytes);
}

std::optional<QString> FindValue(const QString& path, const QString& section, const QString& key) {
    const std::optional<QString> text = ReadText(path);
    if (!text)
        return std::nullopt;

    std::optional<QString> found;
    bool inSection = false;
    ForEachLine(*text, [&](QStringView line) {
        QStringView name;
        QStringView value;
        if (ParseSection(line, name)) {
            if (inSection)
                return false; // only the first section of that name counts
            inSection = SameName(name, section);
        } else if (inSection && ParseEntry(line, name, value) && SameName(name, key)) {
            found = CleanValue(value).toString();
            return false;
        }
        return true;
    });
    return found;
}

[[noreturn]] void ThrowWriteError(const QString& path) {
    throw EZirmonError(QString("Unable to write to %1").arg(path));
}

// The lines of the file as it stands before a write; none for a missing
// file. A file that exists but cannot be read is not overwritten.
QStringList ReadLinesForWrite(const QString& path) {
    QStringList lines;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return lines;
    if (!info.isFile())
        ThrowWriteError(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        ThrowWriteError(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        ThrowWriteError(path);
    ForEachLine(Decode(bytes), [&](QStringView line) {
        lines.append(line.toString());
        return true;
    });
    return lines;
}

void WriteLines(const QString& path, const QStringList& lines) {
    QString text;
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    const QByteArray bytes = Encode(text);

    const bool isNew = !QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        ThrowWriteError(path);
    // The file holds the password. An existing file keeps its permissions
    // (the temporary file takes them over); a new one is for the owner only.
    if (isNew && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        ThrowWriteError(path);
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        ThrowWriteError(path);
    }
    if (!file.commit())
        ThrowWriteError(path);
}

// Line breaks inside a value would split it into lines of their own.
QString SingleLine(QString value) {
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

TProfileFile::TProfileFile(QString path) : Path(std::move(path)) {}

QString TProfileFile::ReadString(const QString& section, const QString& key,
                                 const QString& def) const {
    const std::optional<QString> value = FindValue(Path, section, key);
    if (!value)
        return def;
    return value->left(MaxValueLength);
}

int TProfileFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const std::optional<QString> value = FindValue(Path, section, key);
    if (!value)
        return def;
    return TryStrToInt(value->left(MaxValueLength)).value_or(def);
}

bool TProfileFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TProfileFile::WriteString(const QString& section, const QString& key, const QString& value) {
    QStringList lines = ReadLinesForWrite(Path);
    const QString cleanValue = SingleLine(value);

    qsizetype header = -1;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView name;
        QStringView raw;
        if (ParseSection(lines[i], name)) {
            if (header >= 0)
                break; // only the first section of that name counts
            if (SameName(name, section)) {
                header = i;
                insertAt = i + 1;
            }
        } else if (header >= 0 && ParseEntry(lines[i], name, raw)) {
            if (SameName(name, key)) {
                lines[i] = name.toString() + u'=' + cleanValue;
                WriteLines(Path, lines);
                return;
            }
            insertAt = i + 1; // new keys go after the section's last entry
        }
    }

    const QString entry = key + u'=' + cleanValue;
    if (header >= 0) {
        lines.insert(insertAt, entry);
    } else {
        lines.append(u'[' + section + u']');
        lines.append(entry);
    }
    WriteLines(Path, lines);
}

void TProfileFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TProfileFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
