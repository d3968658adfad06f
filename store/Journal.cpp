#include "store/Journal.h"

#include "store/Errors.h"
#include "store/WholeFile.h"

#include <array>
#include <climits>

namespace {

const char* const Bom = "\xEF\xBB\xBF";
const char* const Header =
    "Datum;\xC4\x8C"
    "as;Operace;A;B;Odpov\xC4\x9B\xC4\x8F;Spr\xC3\xA1vn\xC4\x9B;Doba (ms)\r\n";

struct TWord {
    TOperation Op;
    const char* Utf8;
    const char* Cp1250; // as a spreadsheet saving in the ANSI code page writes it
};

const std::array<TWord, 4> Words = {{
    {TOperation::Addition, "s\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD", "s\xE8\xEDt\xE1n\xED"},
    {TOperation::Subtraction, "od\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD", "od\xE8\xEDt\xE1n\xED"},
    {TOperation::Multiplication, "n\xC3\xA1soben\xC3\xAD", "n\xE1soben\xED"},
    {TOperation::Division, "d\xC4\x9Blen\xC3\xAD", "d\xEClen\xED"},
}};

bool NeedsFormulaGuard(const QString& text) {
    if (text.isEmpty())
        return false;
    const QChar first = text.at(0);
    if (first == u'=' || first == u'+' || first == u'@')
        return true;
    return first == u'-' && !(text.size() > 1 && text.at(1).isDigit());
}

QByteArray Field(const QString& answer) {
    QString text = answer;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    if (NeedsFormulaGuard(text))
        text.prepend(u'\'');
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(';') || bytes.contains('"'))
        bytes = '"' + bytes.replace("\"", "\"\"") + '"';
    return bytes;
}

// Splits one line (without its end) at sep outside quotes; a quoted part
// loses its quotes and reads a doubled quote as one.
QList<QByteArray> SplitFields(QByteArrayView line, char sep) {
    QList<QByteArray> fields;
    if (!line.contains('"')) {
        qsizetype start = 0;
        for (qsizetype at; (at = line.indexOf(sep, start)) >= 0; start = at + 1)
            fields.append(line.sliced(start, at - start).toByteArray());
        fields.append(line.sliced(start).toByteArray());
        return fields;
    }
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                field += line[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == sep) {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

// The separator: the one that cuts the first line into the journal's eight
// fields, else the most frequent one outside quotes, else ";".
char DetectSeparator(QByteArrayView firstLine) {
    char best = ';';
    qsizetype bestCount = 0;
    for (const char sep : {';', ',', '\t'}) {
        const qsizetype count = SplitFields(firstLine, sep).size() - 1;
        if (count == 7)
            return sep;
        if (count > bestCount) {
            best = sep;
            bestCount = count;
        }
    }
    return best;
}

bool ReadNumber(QByteArray text, qint64& value) {
    // Spaces, also the no-break ones a spreadsheet groups thousands with.
    text.replace("\xC2\xA0", "").replace("\xA0", "").replace(" ", "");
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}

bool ReadInt(const QByteArray& text, int& value) {
    qint64 wide = 0;
    if (!ReadNumber(text, wide) || wide < INT_MIN || wide > INT_MAX)
        return false;
    value = int(wide);
    return true;
}

// Reads 1 to maxDigits digits at pos.
bool ReadDigits(QByteArrayView text, qsizetype& pos, int maxDigits, int& value) {
    const qsizetype start = pos;
    value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9')
        value = value * 10 + (text[pos++] - '0');
    return pos > start;
}

bool ReadChar(QByteArrayView text, qsizetype& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

// "2026-12-09" as written, or "9.12.2026" as a spreadsheet on a Czech
// system saves it (with or without spaces after the dots).
QDate ReadDate(const QByteArray& field) {
    QByteArray text = field.trimmed();
    text.replace(" ", "");
    qsizetype pos = 0;
    int y = 0, m = 0, d = 0;
    const bool iso = ReadDigits(text, pos, 4, y) && pos == 4 && ReadChar(text, pos, '-') &&
                     ReadDigits(text, pos, 2, m) && ReadChar(text, pos, '-') &&
                     ReadDigits(text, pos, 2, d);
    if (!iso) {
        pos = 0;
        const qsizetype yearAt = text.lastIndexOf('.') + 1;
        if (!(ReadDigits(text, pos, 2, d) && ReadChar(text, pos, '.') &&
              ReadDigits(text, pos, 2, m) && ReadChar(text, pos, '.') && pos == yearAt &&
              ReadDigits(text, pos, 4, y) && pos - yearAt == 4))
            return QDate();
    }
    return pos == text.size() ? QDate(y, m, d) : QDate();
}

// "17:05:33", or without the seconds.
QTime ReadTime(const QByteArray& field) {
    const QByteArray text = field.trimmed();
    qsizetype pos = 0;
    int h = 0, m = 0, sec = 0;
    if (!ReadDigits(text, pos, 2, h) || !ReadChar(text, pos, ':') || !ReadDigits(text, pos, 2, m) ||
        pos != text.indexOf(':') + 3)
        return QTime();
    if (pos < text.size() && (!ReadChar(text, pos, ':') || !ReadDigits(text, pos, 2, sec) ||
                              pos != text.size() || text.size() - text.lastIndexOf(':') != 3))
        return QTime();
    return pos == text.size() ? QTime(h, m, sec) : QTime();
}

bool ReadOperation(const QByteArray& field, TOperation& op) {
    const QByteArray word = field.trimmed();
    for (const TWord& w : Words)
        if (word == w.Utf8 || word == w.Cp1250) {
            op = w.Op;
            return true;
        }
    return false;
}

QString ReadAnswer(const QByteArray& field) {
    QString text = QString::fromUtf8(field);
    if (text.startsWith(u'\'') && NeedsFormulaGuard(text.mid(1)))
        text.remove(0, 1);
    return text;
}

bool ReadEntry(QByteArrayView line, char sep, TJournalEntry& entry) {
    const QList<QByteArray> fields = SplitFields(line, sep);
    if (fields.size() < 8)
        return false;
    // Empty fields a spreadsheet adds after the last column are allowed.
    for (qsizetype i = 8; i < fields.size(); ++i)
        if (!fields[i].trimmed().isEmpty())
            return false;
    entry.Date = ReadDate(fields[0]);
    entry.Time = ReadTime(fields[1]);
    if (!entry.Date.isValid() || !entry.Time.isValid())
        return false;
    if (!ReadOperation(fields[2], entry.Op) || !ReadInt(fields[3], entry.A) ||
        !ReadInt(fields[4], entry.B))
        return false;
    entry.Answer = ReadAnswer(fields[5]);
    const QByteArray verdict = fields[6].trimmed().toLower();
    if (verdict == "ano")
        entry.Correct = true;
    else if (verdict == "ne")
        entry.Correct = false;
    else
        return false;
    return ReadNumber(fields[7], entry.Ms) && entry.Ms >= 0;
}

} // namespace

QString OperationWord(TOperation op) {
    for (const TWord& w : Words)
        if (w.Op == op)
            return QString::fromUtf8(w.Utf8);
    return QString();
}

QByteArray JournalHead() {
    return QByteArray(Bom) + Header;
}

QByteArray JournalLine(const TJournalEntry& entry) {
    QByteArray line;
    line += entry.Date.toString(QStringLiteral("yyyy-MM-dd")).toLatin1() + ';';
    line += entry.Time.toString(QStringLiteral("HH:mm:ss")).toLatin1() + ';';
    line += OperationWord(entry.Op).toUtf8() + ';';
    line += QByteArray::number(entry.A) + ';' + QByteArray::number(entry.B) + ';';
    line += Field(entry.Answer) + ';';
    line += QByteArray(entry.Correct ? "ano" : "ne") + ';';
    line += QByteArray::number(entry.Ms) + "\r\n";
    return line;
}

void AppendJournal(const QString& path, const TJournalEntry& entry) {
    const QString reason = AppendToFile(path, JournalLine(entry), JournalHead());
    if (!reason.isEmpty())
        throw EZirmonError(QString("Cannot write file \"%1\". %2").arg(path, reason));
}

QList<TJournalEntry> ParseJournal(QByteArrayView bytes) {
    QList<TJournalEntry> entries;
    if (bytes.startsWith(Bom))
        bytes = bytes.sliced(3);
    char sep = 0;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        const QByteArrayView line = bytes.sliced(start, i - start);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
        if (line.trimmed().isEmpty())
            continue;
        if (!sep)
            sep = DetectSeparator(line);
        // Lines appended after a spreadsheet saved the file with other
        // separators keep ours.
        TJournalEntry entry;
        if (ReadEntry(line, sep, entry) || (sep != ';' && ReadEntry(line, ';', entry)))
            entries.append(entry);
    }
    // What follows the last line end is a line cut short: not read.
    return entries;
}

QList<TJournalEntry> ReadJournal(const QString& path) {
    const TFileRead read = ReadWholeFile(path);
    if (read.Missing)
        return {};
    if (!read.Ok)
        throw EZirmonError(QString("Cannot open file \"%1\". %2").arg(path, read.Reason));
    return ParseJournal(read.Bytes);
}
