// The journal of judged answers: reading any bytes. Properties: no crash, no
// more entries than line ends, the part after the last line end never
// matters, every entry read is a problem a generator draws with a time of at
// most a year, and is written as a line that reads back as the same entry;
// the facts, the facts due and the days of the progress window are worked
// out from what was read without a fault.
#include "FuzzSupport.h"
#include "practice/Facts.h"
#include "practice/Progress.h"
#include "practice/Returns.h"
#include "store/Journal.h"

#include <QFile>
#include <QTemporaryDir>

// The random mix is read from the settings dialog, which the fuzz target
// has not; nothing here draws a problem.
TRandomMix CurrentRandomMix() {
    return {};
}

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
        FUZZ_REQUIRE(entries[i].Ms >= 0 && entries[i].Ms <= 366LL * 24 * 60 * 60 * 1000);
        FUZZ_REQUIRE(GeneratorCanDraw(entries[i].Op, entries[i].A, entries[i].B));
        const QByteArray line = JournalLine(entries[i]);
        FUZZ_REQUIRE(line.endsWith("\r\n") && LineEnds(line) == 2);
        written += line;
    }
    const QList<TJournalEntry> again = ParseJournal(written);
    FUZZ_REQUIRE(again.size() == entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        FUZZ_REQUIRE(Same(again[i], entries[i]));

    TFactDeriver deriver;
    TDaySummarizer days;
    for (const TJournalEntry& entry : entries) {
        deriver.Add(entry);
        days.Add(entry);
    }
    const QHash<TFactKey, TFactInfo> facts = deriver.Result();
    FUZZ_REQUIRE(facts.size() <= entries.size());
    for (auto it = facts.cbegin(); it != facts.cend(); ++it)
        (void)FactDescription(it.key(), it.value());
    (void)DueFacts(facts, QDate(2026, 12, 10));
    for (const TDayProgress& day : days.Result())
        FUZZ_REQUIRE(day.Total.PractisedMs >= 0 && day.Total.MedianMs >= 0);

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
