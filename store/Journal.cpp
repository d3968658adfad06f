#include "store/Journal.h"

#include "store/Errors.h"
#include "store/WholeFile.h"

#include <QStringDecoder>
#include <QVarLengthArray>
#include <array>
#include <climits>

namespace {

// The longest time an answer can have taken: a problem left on screen for a
// year. A longer one is not a time the program wrote.
constexpr qint64 MaxAnswerMs = 366LL * 24 * 60 * 60 * 1000;

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

bool ReadNumber(QByteArrayView field, qint64& value) {
    bool ok = false;
    if (!field.contains(' ') && !field.contains('\xA0')) {
        value = field.toLongLong(&ok);
        return ok;
    }
    // Spaces, also the no-break ones a spreadsheet groups thousands with.
    QByteArray text = field.toByteArray();
    text.replace("\xC2\xA0", "").replace("\xA0", "").replace(" ", "");
    value = text.toLongLong(&ok);
    return ok;
}

bool ReadInt(QByteArrayView text, int& value) {
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
QDate ReadDate(QByteArrayView field) {
    QByteArrayView text = field.trimmed();
    QByteArray joined;
    if (text.contains(' ')) {
        joined = text.toByteArray().replace(" ", "");
        text = joined;
    }
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
QTime ReadTime(QByteArrayView field) {
    const QByteArrayView text = field.trimmed();
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

bool ReadOperation(QByteArrayView field, TOperation& op) {
    const QByteArrayView word = field.trimmed();
    for (const TWord& w : Words)
        if (word == QByteArrayView(w.Utf8) || word == QByteArrayView(w.Cp1250)) {
            op = w.Op;
            return true;
        }
    return false;
}

// The answers a journal mostly holds, the numbers 0 to 999 as written
// without leading zeros: made once per reading and shared by the entries.
class TAnswerTexts {
public:
    QString Text(QByteArrayView field);

private:
    QString Numbers[1000];
};

QString TAnswerTexts::Text(QByteArrayView field) {
    if (field.isEmpty() || field.size() > 3 || (field.size() > 1 && field[0] == '0'))
        return QString();
    int number = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return QString();
        number = number * 10 + (c - '0');
    }
    if (Numbers[number].isNull())
        Numbers[number] = QString::fromLatin1(field);
    return Numbers[number];
}

QString ReadAnswer(QByteArrayView field, TAnswerTexts& shared) {
    const QString number = shared.Text(field);
    if (!number.isNull())
        return number;
    // A byte-order mark at the start of an answer is part of the answer
    // (QString::fromUtf8 would drop it).
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(field);
    if (text.startsWith(u'\'') && NeedsFormulaGuard(text.mid(1)))
        text.remove(0, 1);
    return text;
}

bool ReadEntry(QByteArrayView line, char sep, TJournalEntry& entry, TAnswerTexts& shared) {
    // A line without quotes is read where it lies; one with quotes from
    // its fields unquoted.
    QList<QByteArray> unquoted;
    QVarLengthArray<QByteArrayView, 12> fields;
    if (line.contains('"')) {
        unquoted = SplitFields(line, sep);
        for (const QByteArray& field : std::as_const(unquoted))
            fields.append(field);
    } else {
        qsizetype start = 0;
        for (qsizetype at; (at = line.indexOf(sep, start)) >= 0; start = at + 1)
            fields.append(line.sliced(start, at - start));
        fields.append(line.sliced(start));
    }
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
    // A problem no generator draws, hand-made, would overflow the sums of
    // the facts and come back every day.
    if (!ReadOperation(fields[2], entry.Op) || !ReadInt(fields[3], entry.A) ||
        !ReadInt(fields[4], entry.B) || !GeneratorCanDraw(entry.Op, entry.A, entry.B))
        return false;
    entry.Answer = ReadAnswer(fields[5], shared);
    const QByteArrayView verdict = fields[6].trimmed();
    if (verdict.compare("ano", Qt::CaseInsensitive) == 0)
        entry.Correct = true;
    else if (verdict.compare("ne", Qt::CaseInsensitive) == 0)
        entry.Correct = false;
    else
        return false;
    return ReadNumber(fields[7], entry.Ms) && entry.Ms >= 0 && entry.Ms <= MaxAnswerMs;
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
    // A torn last line gets a ninth field, which no reader takes for an
    // answer: "42" cut from "4210" must not read as 42 ms.
    const QString reason =
        AppendToFile(path, JournalLine(entry), JournalHead(), QByteArrayLiteral(";přerušeno\r\n"));
    if (!reason.isEmpty())
        throw EZirmonError(QString("Cannot write file \"%1\". %2").arg(path, reason));
}

void ForEachJournalEntry(QByteArrayView bytes,
                         const std::function<void(const TJournalEntry&)>& take) {
    TAnswerTexts shared;
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
        if (ReadEntry(line, sep, entry, shared) ||
            (sep != ';' && ReadEntry(line, ';', entry, shared)))
            take(entry);
    }
    // What follows the last line end is a line cut short: not read.
}

QList<TJournalEntry> ParseJournal(QByteArrayView bytes) {
    QList<TJournalEntry> entries;
    ForEachJournalEntry(bytes, [&entries](const TJournalEntry& entry) { entries.append(entry); });
    return entries;
}

void ReadJournalEach(const QString& path, const std::function<void(const TJournalEntry&)>& take) {
    const TFileRead read = ReadWholeFile(path);
    if (read.Missing)
        return;
    if (!read.Ok)
        throw EZirmonError(QString("Cannot open file \"%1\". %2").arg(path, read.Reason));
    ForEachJournalEntry(read.Bytes, take);
}

QList<TJournalEntry> ReadJournal(const QString& path) {
    QList<TJournalEntry> entries;
    ReadJournalEach(path, [&entries](const TJournalEntry& entry) { entries.append(entry); });
    return entries;
}
