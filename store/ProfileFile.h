#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>

// Access to one settings ("profile") file in the classic sectioned key=value
// text format, stored in the ANSI code page (windows-1250) with CR LF
// line breaks.
//
// Nothing is held in memory: every read looks at the file as it is on disk at
// that moment, and every write rewrites the whole file at once. A missing or
// unreadable file reads as empty. Section and key names match without regard
// to letter case; when a section or a key appears twice, the first counts.
class TProfileFile {
public:
    // Opening reads nothing and creates nothing.
    explicit TProfileFile(QString path);

    const QString& FileName() const { return Path; }

    // The value with blanks around it and one pair of enclosing quotes
    // removed, at most 2047 characters; def when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The value read by TryStrToInt; def when it is missing, empty or no number.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // True for any integer but zero; def when the value is no integer.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Sets the value, replacing the key's line in place or adding the key
    // (and its section) when missing, and writes the file at once. A new file
    // is readable by its owner only. Raises "Unable to write to <path>".
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    // Writes "1" or "0".
    void WriteBool(const QString& section, const QString& key, bool value);
    // Sets several keys of one section in one write of the whole file: the
    // file ends as after a WriteString of each in turn.
    void WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values);

private:
    QString Path;
};

// The same reading and writing on the bytes of a file, without the disk.

// The value ReadString gives for the key; nothing when the key is missing.
std::optional<QString> ProfileValue(QByteArrayView bytes, QStringView section, QStringView key);

// The bytes of the file after a write of value to the key: every line ends
// in CR LF, line breaks inside value become blanks, and characters that
// the ANSI code page lacks are written as its substitute character.
QByteArray ProfileWithValue(QByteArrayView bytes, QStringView section, QStringView key,
                            const QString& value);
