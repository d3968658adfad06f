// The journal of judged answers: reading any bytes. Properties: no crash, no
// more entries than line ends, the part after the last line end never
// matters, and every entry read is written as a line that reads back as the
// same entry.
#include "FuzzSupport.h"
#include "store/Journal.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

bool Same(const TJournalEntry& x, const TJournalEntry& y) {
    return x.Date == y.Date && x.Time == y.Time && x.Op == y.Op && x.A == y.A && x.B == y.B &&
           x.Answer == y.Answer && x.Correct == y.Correct && x.Ms == y.Ms;
}

qsizetype LineEnds(const QByteArray& bytes) {
    return bytes.count('\n') + bytes.count('\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<TJournalEntry> entries = ParseJournal(bytes);
    FUZZ_REQUIRE(entries.size() <= LineEnds(bytes));

    const qsizetype lastEnd = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
    const QList<TJournalEntry> whole = ParseJournal(bytes.left(lastEnd + 1));
    FUZZ_REQUIRE(whole.size() == entries.size());

    QByteArray written = JournalHead();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        FUZZ_REQUIRE(Same(whole[i], entries[i]));
        FUZZ_REQUIRE(entries[i].Date.isValid() && entries[i].Time.isValid());
        FUZZ_REQUIRE(entries[i].Ms >= 0);
        const QByteArray line = JournalLine(entries[i]);
        FUZZ_REQUIRE(line.endsWith("\r\n") && LineEnds(line) == 2);
        written += line;
    }
    const QList<TJournalEntry> again = ParseJournal(written);
    FUZZ_REQUIRE(again.size() == entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        FUZZ_REQUIRE(Same(again[i], entries[i]));

    // Now and then through the disk, as the program reads it.
    static unsigned runs = 0;
    if (++runs % 4096 == 0) {
        static QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("denik.csv"));
        QFile file(path);
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_REQUIRE(file.write(bytes) == bytes.size());
        file.close();
        FUZZ_REQUIRE(ReadJournal(path).size() == entries.size());
    }
    return 0;
}
