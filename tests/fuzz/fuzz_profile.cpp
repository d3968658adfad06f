// The settings file: random file bytes, then random reads and writes, each
// write checked by reading the bytes it gave back. Properties: a written key
// reads back as written, up to the documented normalisations (line breaks
// in the value become blanks, blanks around it and one pair of enclosing
// quotes go, at most 2047 characters, windows-1250's substitute for what it
// lacks), and still does after the later writes of other keys; every key
// never written reads as before; only CR LF line breaks; writing the same
// value again changes nothing. Now and then the same steps run on
// a real file through TProfileFile and must give the same bytes.
#include "FuzzSupport.h"
#include "store/ProfileFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <vector>

namespace {

// Names the program uses, in other letter cases too, and a few of our own.
const char* const KnownNames[] = {
    "Scitani", "Odcitani", "Nasobeni",  "Deleni", "Vyber", "joheslo", "Tabulka",
    "PASSWD",  "Ploha",    "do10",      "do20",   "do100", "nas1",    "nas10",
    "del7",    "scit",     "odcit",     "nasob",  "delen", "hsl",     "OKscit",
    "KOcelk",  "OKOdcit",  "USRPASSWD", "Passwd", "X",     "y",       "tabulka",
    "",        "a b",      "k;1",       "\"q\"",  "'s'",   "#x",
};

QString Latin(const char* text) {
    return QString::fromLatin1(text);
}

// A name as the program could ask for one: windows-1250 letters, no line
// breaks, none of "=[]" that would give the line another meaning, and no
// blanks around it (the file's names are read without them).
QString ConsumeName(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) {
        const auto count = std::size(KnownNames);
        return Latin(KnownNames[in.ConsumeIntegralInRange<std::size_t>(0, count - 1)]);
    }
    static const QString alphabet = QString::fromUtf8("abzAZ09_ ;.\"'čČšŠžŽřŘ€ß");
    QString name;
    const int length = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < length; ++i)
        name += alphabet[in.ConsumeIntegralInRange<qsizetype>(0, alphabet.size() - 1)];
    while (name.startsWith(u' '))
        name.remove(0, 1);
    while (name.endsWith(u' '))
        name.chop(1);
    return name;
}

// Any value: line breaks, tabs, quotes, the file's own signs, letters that
// windows-1250 has and lacks, lone surrogates, now and then a long one.
QString ConsumeValue(FuzzedDataProvider& in) {
    static const QString alphabet = QString::fromUtf8("a Z9\t\r\n\"'=[];$-xčŽ€→😀\u00a0");
    QString value;
    const int length = in.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < length; ++i) {
        if (in.ConsumeIntegralInRange(0, 15) == 0)
            value += QChar(in.ConsumeIntegral<char16_t>());
        else
            value += alphabet[in.ConsumeIntegralInRange<qsizetype>(0, alphabet.size() - 1)];
    }
    if (in.ConsumeIntegralInRange(0, 31) == 0)
        value += QString(in.ConsumeIntegralInRange(2000, 2100), u'v');
    return value;
}

QString Windows1250RoundTrip(const QString& text) {
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArray(encoder.encode(text)));
}

// What reading a written value gives, worked out apart from the reader.
QString Normalised(QString value) {
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value = Windows1250RoundTrip(value);
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && (value[begin] == u' ' || value[begin] == u'\t'))
        ++begin;
    while (end > begin && (value[end - 1] == u' ' || value[end - 1] == u'\t'))
        --end;
    value = value.mid(begin, end - begin);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(2047);
}

struct TName {
    QString Section;
    QString Key;
};

bool Same(const TName& a, const QString& section, const QString& key) {
    return a.Section.compare(section, Qt::CaseInsensitive) == 0 &&
           a.Key.compare(key, Qt::CaseInsensitive) == 0;
}

// Section and key names found in the file by a plain scan of its lines.
void AddNamesOfFile(const QByteArray& bytes, std::vector<TName>& names) {
    QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    text.replace(u'\r', u'\n');
    QString section;
    for (const QStringView rawLine : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringView line = rawLine.trimmed();
        if (line.startsWith(u'[') && line.contains(u']')) {
            section = line.mid(1, line.indexOf(u']') - 1).trimmed().toString();
        } else if (line.contains(u'=') && names.size() < 6) {
            names.push_back({section, line.left(line.indexOf(u'=')).trimmed().toString()});
        }
    }
}

struct TStep {
    bool Write;
    TName Name;
    QString Value;
};

void CheckOnDisk(const QByteArray& start, const std::vector<TStep>& steps,
                 const QByteArray& expected) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zirmon.ini"));
    QFile::remove(path);
    if (!start.isEmpty()) {
        QFile file(path);
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_REQUIRE(file.write(start) == start.size());
    }
    TProfileFile ini(path);
    QByteArray bytes = start;
    for (const TStep& step : steps) {
        if (step.Write) {
            ini.WriteString(step.Name.Section, step.Name.Key, step.Value);
            bytes = ProfileWithValue(bytes, step.Name.Section, step.Name.Key, step.Value);
        }
        const QString def = QChar(1) + QStringLiteral("default");
        FUZZ_REQUIRE(ini.ReadString(step.Name.Section, step.Name.Key, def) ==
                     ProfileValue(bytes, step.Name.Section, step.Name.Key).value_or(def));
    }
    QFile file(path);
    if (expected.isEmpty() && !file.exists())
        return;
    FUZZ_REQUIRE(file.open(QIODevice::ReadOnly));
    FUZZ_REQUIRE(file.readAll() == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string start = in.ConsumeRandomLengthString(4096);
    const QByteArray original(start.data(), qsizetype(start.size()));

    std::vector<TName> names;
    AddNamesOfFile(original, names);
    std::vector<TStep> steps;
    const int count = in.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        TStep step{in.ConsumeBool(), {ConsumeName(in), ConsumeName(in)}, QString()};
        if (step.Write)
            step.Value = ConsumeValue(in);
        steps.push_back(step);
        names.push_back(step.Name);
    }

    std::vector<std::optional<QString>> before;
    for (const TName& name : names)
        before.push_back(ProfileValue(original, name.Section, name.Key));

    QByteArray bytes = original;
    const TStep* lastWrite = nullptr;
    for (const TStep& step : steps) {
        const QString& section = step.Name.Section;
        const QString& key = step.Name.Key;
        if (!step.Write) {
            // A read never changes anything; reading twice gives the same.
            FUZZ_REQUIRE(ProfileValue(bytes, section, key) == ProfileValue(bytes, section, key));
            continue;
        }
        const QByteArray after = ProfileWithValue(bytes, section, key, step.Value);
        FUZZ_REQUIRE(OnlyCrLfBreaks(after));
        FUZZ_REQUIRE(after.endsWith("\r\n"));
        FUZZ_REQUIRE(ProfileValue(after, section, key) == Normalised(step.Value));
        bytes = after;
        lastWrite = &step;
    }
    // Each key reads as it was written last, and every other one as it read
    // before the first write.
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::optional<QString> expected = before[i];
        for (const TStep& step : steps) {
            if (step.Write && Same(names[i], step.Name.Section, step.Name.Key))
                expected = Normalised(step.Value);
        }
        FUZZ_REQUIRE(ProfileValue(bytes, names[i].Section, names[i].Key) == expected);
    }
    if (lastWrite) {
        const TName& name = lastWrite->Name;
        FUZZ_REQUIRE(ProfileWithValue(bytes, name.Section, name.Key, lastWrite->Value) == bytes);
    }

    static unsigned runs = 0;
    if (++runs % 4096 == 0)
        CheckOnDisk(original, steps, bytes);
    return 0;
}
