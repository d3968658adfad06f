#include "TestSupport.h"
#include "store/Errors.h"
#include "store/Journal.h"
#include "store/ListFile.h"

#include <QDir>
#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(TListEncoding)

namespace {

const QString Heading = QString::fromUtf8("Špatně vypočítané příklady");

QByteArray Utf16Bytes(const QString& text, bool bigEndian) {
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The message of the EZirmonError the call raises; empty when none.
template <typename TCall> QString ErrorOf(TCall call) {
    try {
        call();
    } catch (const EZirmonError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TTestListFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void exactBytes_data();
    void exactBytes();
    void roundTrip_data();
    void roundTrip();
    void lineBreaks_data();
    void lineBreaks();
    void damagedText_data();
    void damagedText();
    void emptyFileIsAnsi();
    void openFailure_data();
    void openFailure();
    void createFailure_data();
    void createFailure();
    void hugeFile();
    void journalLine_data();
    void journalLine();
    void parseJournal_data();
    void parseJournal();
    void appendJournal();

private:
    QString listPath() const { return Home.root() + "/priklad.dat"; }
    QString copyPath() const { return Home.root() + "/copy.dat"; }
    TTempHome Home;
};

void TTestListFile::init() {
    QFile::remove(listPath());
    QFile::remove(copyPath());
    LastListEncoding = TListEncoding::Ansi;
}

void TTestListFile::exactBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TListEncoding>("encoding");
    QTest::addColumn<QString>("text");

    const QString word = QString::fromUtf8("Špatně\r\n");
    QTest::newRow("windows-1250") << QByteArray("\x8Apatn\xEC\r\n") << TListEncoding::Ansi << word;
    QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF\xC5\xA0patn\xC4\x9B\r\n")
                           << TListEncoding::Utf8 << word;
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE\x60\x01p\0a\0t\0n\0\x1B\x01\r\0\n\0", 18)
                              << TListEncoding::Utf16LE << word;
    QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF\x01\x60\0p\0a\0t\0n\x01\x1B\0\r\0\n", 18)
                              << TListEncoding::Utf16BE << word;
    QTest::newRow("mark only, UTF-8")
        << QByteArray("\xEF\xBB\xBF") << TListEncoding::Utf8 << QString();
    QTest::newRow("mark only, UTF-16LE")
        << QByteArray("\xFF\xFE") << TListEncoding::Utf16LE << QString();
    QTest::newRow("mark only, UTF-16BE")
        << QByteArray("\xFE\xFF") << TListEncoding::Utf16BE << QString();
    QTest::newRow("second mark is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                       "a")
                                         << TListEncoding::Utf8 << QString(QChar(0xFEFF)) + u'a';
    QTest::newRow("UTF-8 mark cut short")
        << QByteArray("\xEF\xBB") << TListEncoding::Ansi << QString::fromUtf8("ď»");
    QTest::newRow("no final break") << QByteArray("\xEF\xBB\xBF"
                                                  "a\r\nb")
                                    << TListEncoding::Utf8 << "a\r\nb";
}

void TTestListFile::exactBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(TListEncoding, encoding);
    QFETCH(QString, text);

    WriteAll(listPath(), bytes);
    LastListEncoding = encoding == TListEncoding::Ansi ? TListEncoding::Utf8 : TListEncoding::Ansi;
    QCOMPARE(LoadListFile(listPath()), text);
    QCOMPARE(LastListEncoding, encoding);
    // Saved again, the file comes out byte for byte as it was.
    SaveListFile(copyPath(), text);
    QCOMPARE(ReadAll(copyPath()), bytes);
}

void TTestListFile::roundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TListEncoding>("encoding");

    const QString text =
        Heading + "\r\n7 + 8 = 14\r\n\r\n" + QString::fromUtf8("ŽŘČŠĚÝÁÍÉÚŮŤĎŇ\r\n");
    QTest::newRow("windows-1250")
        << QByteArray("\x8Apatn\xEC vypo\xE8\xEDtan\xE9 p\xF8\xEDklady\r\n"
                      "7 + 8 = 14\r\n\r\n"
                      "\x8E\xD8\xC8\x8A\xCC\xDD\xC1\xCD\xC9\xDA\xD9\x8D\xCF\xD2\r\n")
        << TListEncoding::Ansi;
    QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << TListEncoding::Utf8;
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE") + Utf16Bytes(text, false)
                              << TListEncoding::Utf16LE;
    QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF") + Utf16Bytes(text, true)
                              << TListEncoding::Utf16BE;
}

void TTestListFile::roundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(TListEncoding, encoding);

    const QString text =
        Heading + "\r\n7 + 8 = 14\r\n\r\n" + QString::fromUtf8("ŽŘČŠĚÝÁÍÉÚŮŤĎŇ\r\n");
    WriteAll(listPath(), bytes);
    QCOMPARE(LoadListFile(listPath()), text);
    QCOMPARE(LastListEncoding, encoding);

    // A new line added in the window is saved in the file's own encoding.
    const QString longer = text + QString::fromUtf8("9 - 3 = 5 ... špatně\r\n");
    SaveListFile(listPath(), longer);
    QCOMPARE(ReadAll(listPath()).left(bytes.size()), bytes);
    QCOMPARE(LoadListFile(listPath()), longer);
    QCOMPARE(LastListEncoding, encoding);
}

void TTestListFile::lineBreaks_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("LF only") << QByteArray("a\nb\n") << "a\r\nb\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("CR only") << QByteArray("a\rb\r") << "a\r\nb\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("CR LF kept") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n"
                                << QByteArray("a\r\nb\r\n");
    QTest::newRow("no final break") << QByteArray("a\nb") << "a\r\nb" << QByteArray("a\r\nb");
    QTest::newRow("blank lines") << QByteArray("\n\n") << "\r\n\r\n" << QByteArray("\r\n\r\n");
    QTest::newRow("CR, CR LF, LF") << QByteArray("\r\r\n\n") << "\r\n\r\n\r\n"
                                   << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("LF CR is two breaks")
        << QByteArray("a\n\rb") << "a\r\n\r\nb" << QByteArray("a\r\n\r\nb");
    QTest::newRow("break first") << QByteArray("\rx") << "\r\nx" << QByteArray("\r\nx");
    QTest::newRow("UTF-16LE LF") << QByteArray("\xFF\xFE"
                                               "a\0\n\0b\0\r\0",
                                               10)
                                 << "a\r\nb\r\n"
                                 << QByteArray("\xFF\xFE"
                                               "a\0\r\0\n\0b\0\r\0\n\0",
                                               14);
    QTest::newRow("UTF-16BE CR") << QByteArray("\xFE\xFF\0a\0\r", 6) << "a\r\n"
                                 << QByteArray("\xFE\xFF\0a\0\r\0\n", 8);
    QTest::newRow("UTF-8 CR") << QByteArray("\xEF\xBB\xBF"
                                            "a\rb")
                              << "a\r\nb"
                              << QByteArray("\xEF\xBB\xBF"
                                            "a\r\nb");
}

void TTestListFile::lineBreaks() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, written);

    WriteAll(listPath(), bytes);
    QCOMPARE(LoadListFile(listPath()), text);
    // Written back, every break is CR LF.
    SaveListFile(copyPath(), text);
    QCOMPARE(ReadAll(copyPath()), written);
}

void TTestListFile::damagedText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TListEncoding>("encoding");
    QTest::addColumn<QString>("start");

    QTest::newRow("odd UTF-16LE") << QByteArray("\xFF\xFE"
                                                "a\0b",
                                                5)
                                  << TListEncoding::Utf16LE << "a";
    QTest::newRow("odd UTF-16BE") << QByteArray("\xFE\xFF\0a\0", 5) << TListEncoding::Utf16BE
                                  << "a";
    QTest::newRow("lone UTF-16 surrogate") << QByteArray("\xFF\xFE"
                                                         "a\0\x00\xD8",
                                                         6)
                                           << TListEncoding::Utf16LE << "a";
    QTest::newRow("invalid UTF-8") << QByteArray("\xEF\xBB\xBF"
                                                 "a\xC3(\xFF\xFE")
                                   << TListEncoding::Utf8 << "a";
    QTest::newRow("UTF-8 cut inside a letter") << QByteArray("\xEF\xBB\xBF"
                                                             "a\xC5")
                                               << TListEncoding::Utf8 << "a";
}

void TTestListFile::damagedText() {
    QFETCH(QByteArray, bytes);
    QFETCH(TListEncoding, encoding);
    QFETCH(QString, start);

    WriteAll(listPath(), bytes);
    const QString text = LoadListFile(listPath());
    QVERIFY2(text.startsWith(start), qPrintable(text));
    QVERIFY(text.size() <= bytes.size());
    QCOMPARE(LastListEncoding, encoding);
    SaveListFile(copyPath(), text);
    QCOMPARE(LoadListFile(copyPath()), text);
}

void TTestListFile::emptyFileIsAnsi() {
    WriteAll(listPath(), QByteArray("\xEF\xBB\xBF"));
    LoadListFile(listPath());
    QCOMPARE(LastListEncoding, TListEncoding::Utf8);

    WriteAll(listPath(), QByteArray());
    QCOMPARE(LoadListFile(listPath()), QString(""));
    QCOMPARE(LastListEncoding, TListEncoding::Ansi);
    SaveListFile(copyPath(), "");
    QVERIFY(QFileInfo::exists(copyPath()));
    QCOMPARE(QFileInfo(copyPath()).size(), qint64(0));
}

void TTestListFile::openFailure_data() {
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing file") << "missing";
    QTest::newRow("missing folder") << "missing-folder";
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
}

void TTestListFile::openFailure() {
    QFETCH(QString, kind);

    QString path = Home.root() + "/open-" + kind;
    if (kind == "missing-folder")
        path += "/priklad.dat";
    else if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (kind == "pipe")
        QVERIFY(MakeFifo(path));

    LastListEncoding = TListEncoding::Utf16BE;
    // A pipe without a writer would block an ordinary open for ever.
    const QString message = ErrorOf([&] { LoadListFile(path); });
    const QString prefix = "Cannot open file \"" + path + "\". ";
    QVERIFY2(message.startsWith(prefix), qPrintable(message));
    const QString reason = message.mid(prefix.size());
    QVERIFY2(!reason.trimmed().isEmpty(), qPrintable(message));
    QVERIFY2(!reason.endsWith(u'.'), qPrintable(message));
    if (kind.startsWith("missing")) {
        QFile probe(path);
        QVERIFY(!probe.open(QIODevice::ReadOnly));
        QString expected = probe.errorString();
        if (expected.endsWith(u'.'))
            expected.chop(1);
        QCOMPARE(reason, expected);
    }
    // A failed read leaves the encoding of the last good one.
    QCOMPARE(LastListEncoding, TListEncoding::Utf16BE);
}

void TTestListFile::createFailure_data() {
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing folder") << "missing-folder";
    QTest::newRow("parent is a file") << "parent-file";
    QTest::newRow("path is a folder") << "folder";
}

void TTestListFile::createFailure() {
    QFETCH(QString, kind);

    const QString base = Home.root() + "/create-" + kind;
    QString path = base + "/priklad.dat";
    if (kind == "parent-file") {
        WriteAll(base, "x");
    } else if (kind == "folder") {
        path = base;
        QVERIFY(QDir().mkpath(path));
    }

    const QString message = ErrorOf([&] { SaveListFile(path, "a\r\n"); });
    const QString prefix = "Cannot create file \"" + path + "\". ";
    QVERIFY2(message.startsWith(prefix), qPrintable(message));
    const QString reason = message.mid(prefix.size());
    QVERIFY2(!reason.trimmed().isEmpty(), qPrintable(message));
    QVERIFY2(!reason.endsWith(u'.'), qPrintable(message));
    if (kind == "missing-folder")
        QVERIFY(!QFileInfo::exists(base)); // no folder is made on the way
    if (kind == "parent-file")
        QCOMPARE(ReadAll(base), QByteArray("x"));
}

void TTestListFile::hugeFile() {
    // 50 MB of short lines with LF breaks, each of which doubles.
    const int lines = 10 * 1000 * 1000;
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 5);
    for (int i = 0; i < lines; ++i)
        bytes += "7+8\n";
    bytes += QByteArray(10 * 1000 * 1000, 'x');
    WriteAll(listPath(), bytes);

    QElapsedTimer timer;
    timer.start();
    const QString text = LoadListFile(listPath());
    qDebug("50 MB read in %lld ms", static_cast<long long>(timer.elapsed()));
    QCOMPARE(text.size(), qsizetype(lines) * 5 + 10 * 1000 * 1000);
    QCOMPARE(text.left(10), QString("7+8\r\n7+8\r\n"));
    QCOMPARE(text.mid(qsizetype(lines) * 5 - 2, 6), QString("\r\nxxxx"));
}

namespace {
const QByteArray JournalHeadBytes = "\xEF\xBB\xBF"
                                    "Datum;\xC4\x8C"
                                    "as;Operace;A;B;Odpov\xC4\x9B\xC4\x8F;"
                                    "Spr\xC3\xA1vn\xC4\x9B;Doba (ms)\r\n";
const QByteArray SevenEight = "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;8;54;ne;4210\r\n";

// The entries in one text, one "date time op a b answer verdict ms" each.
QString Describe(const QList<TJournalEntry>& entries) {
    QStringList lines;
    for (const TJournalEntry& e : entries)
        lines << QStringList{e.Date.toString(Qt::ISODate), e.Time.toString(Qt::ISODate),
                             QString::number(int(e.Op)),   QString::number(e.A),
                             QString::number(e.B),         e.Answer,
                             e.Correct ? "1" : "0",        QString::number(e.Ms)}
                     .join(u' ');
    return lines.join(u'|');
}
} // namespace

void TTestListFile::journalLine_data() {
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("correct");
    QTest::addColumn<QByteArray>("line");
    const QByteArray at = "2026-12-09;17:05:33;";
    QTest::newRow("wrong") << 2 << "54" << false << SevenEight;
    QTest::newRow("right") << 0 << "15" << true
                           << at + "s\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD;7;8;15;ano;4210\r\n";
    QTest::newRow("subtraction") << 1 << "-1" << false
                                 << at + "od\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD;8;7;-1;ne;4210\r\n";
    QTest::newRow("division") << 3 << "1" << false << at + "d\xC4\x9Blen\xC3\xAD;56;8;1;ne;4210\r\n";
    const char* const guarded[][2] = {{"=1+1", "'=1+1"}, {"+5", "'+5"},      {"@x", "'@x"},
                                      {"-a", "'-a"},     {"-", "'-"},        {"-5", "-5"},
                                      {"'5", "'5"},      {"a;b", "\"a;b\""}, {"a\"b", "\"a\"\"b\""},
                                      {"=;", "\"'=;\""}, {"1\n2", "1 2"}};
    QTest::newRow("mark") << 2 << QChar(0xFEFF) + QString("5") << false
                          << at + "n\xC3\xA1soben\xC3\xAD;7;8;\xEF\xBB\xBF" + "5;ne;4210\r\n";
    // A tag is one line: the Windows run lists the rows line by line.
    for (const auto& [typed, field] : guarded)
        QTest::newRow(QByteArray(typed).replace('\n', "\\n"))
            << 2 << typed << false << at + "n\xC3\xA1soben\xC3\xAD;7;8;" + field + ";ne;4210\r\n";
}

void TTestListFile::journalLine() {
    QFETCH(int, op);
    QFETCH(QString, answer);
    QFETCH(bool, correct);
    QFETCH(QByteArray, line);
    // Problems the generators draw: 7 + 8, 8 - 7, 7 x 8, 56 : 8.
    const int a = op == 1 ? 8 : op == 3 ? 56 : 7;
    const int b = op == 1 ? 7 : 8;
    const TJournalEntry entry{
        QDate(2026, 12, 9), QTime(17, 5, 33), TOperation(op), a, b, answer, correct, 4210};
    QCOMPARE(JournalLine(entry), line);
    // Read back, the line gives the entry (a line break in the answer aside).
    QCOMPARE(Describe(ParseJournal(JournalHeadBytes + line)),
             Describe({entry}).replace(u'\n', u' '));
}

void TTestListFile::parseJournal_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("entries");
    const QString seven = "2026-12-09 17:05:33 2 7 8 54 0 4210";
    QTest::newRow("mark and header") << JournalHeadBytes + SevenEight << seven;
    QTest::newRow("no mark") << JournalHeadBytes.mid(3) + SevenEight << seven;
    QTest::newRow("no header") << SevenEight << seven;
    QTest::newRow("header only") << JournalHeadBytes << QString();
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("commas") << QByteArray(SevenEight).replace(';', ',') << seven;
    QTest::newRow("commas, then ours")
        << QByteArray(SevenEight).replace(';', ',') + SevenEight << seven + '|' + seven;
    QTest::newRow("tabs") << "a\tb\r\n" + QByteArray(SevenEight).replace(';', '\t') << seven;
    QTest::newRow("LF") << QByteArray(SevenEight).replace("\r\n", "\n").repeated(2)
                        << seven + '|' + seven;
    QTest::newRow("CR") << QByteArray(SevenEight).replace("\r\n", "\r").repeated(2)
                        << seven + '|' + seven;
    QTest::newRow("torn last line") << SevenEight + SevenEight.left(30) << seven;
    QTest::newRow("last line without end") << SevenEight + SevenEight.chopped(2) << seven;
    QTest::newRow("quoted fields")
        << QByteArray("\"2026-12-09\";\"17:05:33\";\"n\xC3\xA1soben\xC3\xAD\";\"7\";8;\"a;\"\"b\";"
                      "ne;\"4210\"\r\n")
        << "2026-12-09 17:05:33 2 7 8 a;\"b 0 4210";
    QTest::newRow("spreadsheet's own forms")
        << QByteArray("9. 12. 2026;7:05;n\xE1soben\xED;7;8;'-a;ANO;4\xC2\xA0"
                      "210;;\r\n")
        << "2026-12-09 07:05:00 2 7 8 -a 1 4210";
    QTest::newRow("unreadable lines skipped")
        << SevenEight +
               "x;y\r\n\r\n2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;;8;54;ne;1\r\n"
               "2026-13-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;8;54;ne;1\r\n"
               "2026-12-09;17:05:33;krat;7;8;54;ne;1\r\n"
               "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;8;54;asi;1\r\n"
               "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;8;54;ne;-1\r\n"
               "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;8;54;ne;1;x\r\n"
               "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;99999999999;54;ne;1\r\n"
               // problems no generator draws; a time longer than a year
               "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;11;77;ano;1\r\n"
               "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;11;7;77;ano;1\r\n"
               "2026-12-09;17:05:33;d\xC4\x9Blen\xC3\xAD;7;2;3;ne;1\r\n"
               "2026-12-09;17:05:33;d\xC4\x9Blen\xC3\xAD;110;10;11;ano;1\r\n"
               "2026-12-09;17:05:33;s\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD;2000000000;2000000000;0;ne;"
               "1\r\n"
               "2026-12-09;17:05:33;s\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD;60;41;101;ano;1\r\n"
               "2026-12-09;17:05:33;od\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD;3;5;-2;ano;1\r\n"
               "2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;8;56;ano;31622400001\r\n"
               "\"2026-12-09;17:05:33;n\xC3\xA1soben\xC3\xAD;7;8;54;ne;1\r\n" +
               SevenEight +
               // the largest of each that the program writes
               "2026-12-09;17:05:33;s\xC4\x8D\xC3\xADt\xC3\xA1n\xC3\xAD;60;40;100;ano;"
               "31622400000\r\n"
               "2026-12-09;17:05:33;d\xC4\x9Blen\xC3\xAD;100;10;10;ano;0\r\n"
        << seven + '|' + seven + "|2026-12-09 17:05:33 0 60 40 100 1 31622400000" +
               "|2026-12-09 17:05:33 3 100 10 10 1 0";
}

void TTestListFile::parseJournal() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, entries);
    QCOMPARE(Describe(ParseJournal(bytes)), entries);
}

// A new journal starts with its head; a torn last line is ended and marked
// before the next one, so it stays unread even when cut inside its time; a
// missing journal reads as empty; a folder in its place fails.
void TTestListFile::appendJournal() {
    const QString path = Home.root() + "/denik.csv";
    QFile::remove(path);
    QVERIFY(ReadJournal(path).isEmpty());
    const TJournalEntry entry{
        QDate(2026, 12, 9), QTime(17, 5, 33), TOperation::Multiplication, 7, 8, "54", false, 4210};
    AppendJournal(path, entry);
    QCOMPARE(ReadAll(path), JournalHeadBytes + SevenEight);
    WriteAll(path, JournalHeadBytes + "2026-12");
    AppendJournal(path, entry);
    QCOMPARE(ReadAll(path), JournalHeadBytes +
                                "2026-12;p\xC5\x99"
                                "eru\xC5\xA1"
                                "eno\r\n" +
                                SevenEight);
    QCOMPARE(ReadJournal(path).size(), 1);
    const QByteArray cut = SevenEight.left(SevenEight.size() - 4); // "...;ne;42"
    WriteAll(path, JournalHeadBytes + cut);
    AppendJournal(path, entry);
    QCOMPARE(ReadAll(path), JournalHeadBytes + cut +
                                ";p\xC5\x99"
                                "eru\xC5\xA1"
                                "eno\r\n" +
                                SevenEight);
    QCOMPARE(Describe(ReadJournal(path)), QStringLiteral("2026-12-09 17:05:33 2 7 8 54 0 4210"));
    QFile::remove(path);
    QVERIFY(QDir().mkpath(path));
    QVERIFY_THROWS_EXCEPTION(EZirmonError, AppendJournal(path, entry));
    QVERIFY_THROWS_EXCEPTION(EZirmonError, ReadJournal(path));
    QDir(path).removeRecursively();
}

QTEST_GUILESS_MAIN(TTestListFile)
#include "tst_listfile.moc"
