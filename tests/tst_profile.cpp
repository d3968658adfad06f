#include "TestSupport.h"
#include "store/CodePage.h"
#include "store/DataDir.h"
#include "store/Errors.h"
#include "store/ProfileFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <sys/stat.h>

namespace {

// windows-1250 bytes of "Žluťoučký kůň".
const QByteArray HorseBytes("\x8El\x75\x9Do\x75\xE8k\xFD k\xF9\xF2");

QString HorseText() {
    return QString::fromUtf8("Žluťoučký kůň");
}

// The permission bits of a file, -1 when it cannot be examined.
int ModeBits(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

} // namespace

class TTestProfile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void writeSequence_data();
    void writeSequence();
    void writeTypedValues();
    void blanksAroundWrittenValue_data();
    void blanksAroundWrittenValue();
    void longValueIsCut();
    void lineBreakInValueStaysOnOneLine();
    void czechLetters();
    void ansiCodePage_data();
    void ansiCodePage();
    void dataFolder_data();
    void dataFolder();
    void writeFailure_data();
    void writeFailure();
    void newFileIsPrivate();
    void existingFileKeepsPermissions();
    void unreadablePaths_data();
    void unreadablePaths();
    void readsFollowTheDisk();
    void hugeFile();

private:
    QString iniPath() const { return Home.root() + "/zirmon.ini"; }
    TTempHome Home;
};

void TTestProfile::init() {
    QFile::remove(iniPath());
    QVERIFY(!QFileInfo::exists(iniPath()));
}

void TTestProfile::readString_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray tally("[Pocty]\r\nOKOdcit=5\r\nBADOdcit=2\r\n");
    QTest::newRow("exact names") << tally << "Pocty"
                                 << "OKOdcit"
                                 << "5";
    QTest::newRow("key case differs") << tally << "Pocty"
                                      << "OKodcit"
                                      << "5";
    QTest::newRow("section case differs") << tally << "POCTY"
                                          << "okodcit"
                                          << "5";
    QTest::newRow("second key") << tally << "pocty"
                                << "BadOdcit"
                                << "2";
    QTest::newRow("missing key") << tally << "Pocty"
                                 << "OKNasob"
                                 << "def";
    QTest::newRow("missing section") << tally << "Nastaveni"
                                     << "OKOdcit"
                                     << "def";
    QTest::newRow("password section") << QByteArray("[Passwd]\r\nPasswd=tajne\r\n") << "PASSWD"
                                      << "passwd"
                                      << "tajne";
    QTest::newRow("czech section name case")
        << QByteArray("[\xC8\xEDsla]\r\nA=1\r\n") << QString::fromUtf8("čÍSLA") << "a"
        << "1";
    QTest::newRow("key of another section") << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n") << "A"
                                            << "y"
                                            << "def";
    QTest::newRow("key in later section") << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n") << "b"
                                          << "Y"
                                          << "2";
    QTest::newRow("entry before any section") << QByteArray("x=1\r\n[A]\r\ny=2\r\n") << ""
                                              << "x"
                                              << "def";
    QTest::newRow("first duplicate key counts") << QByteArray("[A]\r\nx=1\r\nX=2\r\n") << "A"
                                                << "x"
                                                << "1";
    QTest::newRow("first duplicate section counts")
        << QByteArray("[A]\r\nx=1\r\n[B]\r\n[a]\r\ny=2\r\n") << "A"
        << "y"
        << "def";
    QTest::newRow("blanks around key and value")
        << QByteArray("[A]\r\n \t Key \t=  \t value \t \r\n") << "A"
        << "key"
        << "value";
    QTest::newRow("inner blanks kept") << QByteArray("[A]\r\nk=a  b\r\n") << "A"
                                       << "k"
                                       << "a  b";
    QTest::newRow("equals sign in value") << QByteArray("[A]\r\nk=a=b=c\r\n") << "A"
                                          << "k"
                                          << "a=b=c";
    QTest::newRow("empty value") << QByteArray("[A]\r\nk=\r\n") << "A"
                                 << "k"
                                 << "";
    QTest::newRow("double quotes") << QByteArray("[A]\r\nk=\"abc\"\r\n") << "A"
                                   << "k"
                                   << "abc";
    QTest::newRow("single quotes") << QByteArray("[A]\r\nk='abc'\r\n") << "A"
                                   << "k"
                                   << "abc";
    QTest::newRow("opening quote only") << QByteArray("[A]\r\nk=\"abc\r\n") << "A"
                                        << "k"
                                        << "\"abc";
    QTest::newRow("mixed quotes") << QByteArray("[A]\r\nk=\"abc'\r\n") << "A"
                                  << "k"
                                  << "\"abc'";
    QTest::newRow("one pair removed") << QByteArray("[A]\r\nk=\"\"abc\"\"\r\n") << "A"
                                      << "k"
                                      << "\"abc\"";
    QTest::newRow("quotes around blanks") << QByteArray("[A]\r\nk=  \" x \"  \r\n") << "A"
                                          << "k"
                                          << " x ";
    QTest::newRow("empty quotes") << QByteArray("[A]\r\nk=''\r\n") << "A"
                                  << "k"
                                  << "";
    QTest::newRow("lone quote") << QByteArray("[A]\r\nk=\"\r\n") << "A"
                                << "k"
                                << "\"";
    QTest::newRow("line without equals ignored")
        << QByteArray("[A]\r\nk\r\n; k=comment\r\nk=1\r\n") << "A"
        << "k"
        << "1";
    QTest::newRow("indented section") << QByteArray("  [A]  \r\nk=1\r\n") << "A"
                                      << "k"
                                      << "1";
    QTest::newRow("blanks inside brackets") << QByteArray("[ A ]\r\nk=1\r\n") << "A"
                                            << "k"
                                            << "1";
    QTest::newRow("text after bracket") << QByteArray("[A] ; settings\r\nk=1\r\n") << "A"
                                        << "k"
                                        << "1";
    QTest::newRow("unclosed bracket is no section") << QByteArray("[A]\r\n[B\r\nk=1\r\n") << "A"
                                                    << "k"
                                                    << "1";
    QTest::newRow("LF only") << QByteArray("[A]\nx=1\n[B]\nk=2\n") << "B"
                             << "k"
                             << "2";
    QTest::newRow("LF only, key of other section") << QByteArray("[A]\nx=1\n[B]\nk=2\n") << "A"
                                                   << "k"
                                                   << "def";
    QTest::newRow("lone CR") << QByteArray("[A]\rx=1\r[B]\rk=2\r") << "B"
                             << "k"
                             << "2";
    QTest::newRow("lone CR, key of other section") << QByteArray("[A]\rx=1\r[B]\rk=2\r") << "A"
                                                   << "k"
                                                   << "def";
    QTest::newRow("mixed breaks") << QByteArray("[A]\r\nx=1\n\r[B]\rk=2") << "B"
                                  << "k"
                                  << "2";
    QTest::newRow("no final break") << QByteArray("[A]\r\nk=7") << "A"
                                    << "k"
                                    << "7";
    QTest::newRow("empty file") << QByteArray() << "A"
                                << "k"
                                << "def";
}

void TTestProfile::readString() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    WriteAll(iniPath(), content);
    const TProfileFile ini(iniPath());
    QCOMPARE(ini.ReadString(section, key, "def"), expected);
    QCOMPARE(ReadAll(iniPath()), content); // reading changes nothing
}

void TTestProfile::readInteger_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("def");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal") << QByteArray("N=42") << -1 << 42;
    QTest::newRow("negative") << QByteArray("N=-5") << -1 << -5;
    QTest::newRow("blanks around") << QByteArray("N =  7  ") << -1 << 7;
    QTest::newRow("quoted") << QByteArray("N='12'") << -1 << 12;
    QTest::newRow("0x hex") << QByteArray("N=0x1A") << -1 << 26;
    QTest::newRow("dollar hex") << QByteArray("N=$1A") << -1 << 26;
    QTest::newRow("trailing letters") << QByteArray("N=12abc") << -1 << -1;
    QTest::newRow("blanks only") << QByteArray("N=   ") << -1 << -1;
    QTest::newRow("empty") << QByteArray("N=") << 99 << 99;
    QTest::newRow("too big") << QByteArray("N=2147483648") << 3 << 3;
    QTest::newRow("missing key") << QByteArray("M=1") << 8 << 8;
}

void TTestProfile::readInteger() {
    QFETCH(QByteArray, line);
    QFETCH(int, def);
    QFETCH(int, expected);

    WriteAll(iniPath(), "[Pocty]\r\n" + line + "\r\n");
    QCOMPARE(TProfileFile(iniPath()).ReadInteger("pocty", "n", def), expected);
}

void TTestProfile::readBool_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("def");
    QTest::addColumn<bool>("expected");

    QTest::newRow("one") << QByteArray("B=1") << false << true;
    QTest::newRow("zero") << QByteArray("B=0") << true << false;
    QTest::newRow("two") << QByteArray("B=2") << false << true;
    QTest::newRow("minus one") << QByteArray("B=-1") << false << true;
    QTest::newRow("hex") << QByteArray("B=$10") << false << true;
    QTest::newRow("yes, default false") << QByteArray("B=yes") << false << false;
    QTest::newRow("yes, default true") << QByteArray("B=yes") << true << true;
    QTest::newRow("empty, default true") << QByteArray("B=") << true << true;
    QTest::newRow("missing, default true") << QByteArray("C=0") << true << true;
    QTest::newRow("missing, default false") << QByteArray("C=1") << false << false;
}

void TTestProfile::readBool() {
    QFETCH(QByteArray, line);
    QFETCH(bool, def);
    QFETCH(bool, expected);

    WriteAll(iniPath(), "[Nastaveni]\r\n" + line + "\r\n");
    QCOMPARE(TProfileFile(iniPath()).ReadBool("Nastaveni", "B", def), expected);
}

void TTestProfile::writeSequence_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("writes"); // section, key, value, section, key, ...
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("fresh file")
        << false << QByteArray()
        << QStringList{"Nastaveni", "Scit10", "1", "Nastaveni", "Odcit10", "0",
                       "Pocty",     "OKScit", "5", "nastaveni", "SCIT10",  "0"}
        << QByteArray("[Nastaveni]\r\nScit10=0\r\nOdcit10=0\r\n[Pocty]\r\nOKScit=5\r\n");
    QTest::newRow("empty existing file")
        << true << QByteArray() << QStringList{"A", "k", "v"} << QByteArray("[A]\r\nk=v\r\n");
    QTest::newRow("key added after last entry, before comment and blank lines")
        << true << QByteArray("; Zirmon\r\n\r\n[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n")
        << QStringList{"a", "Z", "9"}
        << QByteArray("; Zirmon\r\n\r\n[A]\r\nx=1\r\nZ=9\r\n; note\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("key added to last section")
        << true << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n\r\n") << QStringList{"B", "z", "3"}
        << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n\r\n");
    QTest::newRow("key added to section without entries")
        << true << QByteArray("[A]\r\n\r\n[B]\r\n") << QStringList{"A", "k", "v"}
        << QByteArray("[A]\r\nk=v\r\n\r\n[B]\r\n");
    QTest::newRow("replacement in place keeps the spelling of the file")
        << true << QByteArray("[A]\r\n  OKOdcit = 3 \r\nb=1\r\n")
        << QStringList{"a", "okodcit", "4"} << QByteArray("[A]\r\nOKOdcit=4\r\nb=1\r\n");
    QTest::newRow("replacement with the same value")
        << true << QByteArray("[A]\r\nk=1\r\n") << QStringList{"A", "k", "1"}
        << QByteArray("[A]\r\nk=1\r\n");
    QTest::newRow("only the first duplicate key is replaced")
        << true << QByteArray("[A]\r\nk=1\r\nk=2\r\n") << QStringList{"A", "K", "3"}
        << QByteArray("[A]\r\nk=3\r\nk=2\r\n");
    QTest::newRow("write goes to the first duplicate section")
        << true << QByteArray("[A]\r\nx=1\r\n[B]\r\n[A]\r\ny=1\r\n") << QStringList{"A", "y", "5"}
        << QByteArray("[A]\r\nx=1\r\ny=5\r\n[B]\r\n[A]\r\ny=1\r\n");
    QTest::newRow("entry before first section untouched")
        << true << QByteArray("x=1\r\n[A]\r\n") << QStringList{"A", "x", "2"}
        << QByteArray("x=1\r\n[A]\r\nx=2\r\n");
    QTest::newRow("section appended after final blank line")
        << true << QByteArray("[A]\r\nx=1\r\n\r\n") << QStringList{"B", "y", "2"}
        << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("section appended without final break")
        << true << QByteArray("[A]\r\nx=1") << QStringList{"B", "y", "2"}
        << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    QTest::newRow("LF breaks become CR LF")
        << true << QByteArray("[A]\nx=1\n\n; c\n") << QStringList{"A", "y", "2"}
        << QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n; c\r\n");
    QTest::newRow("lone CR breaks become CR LF")
        << true << QByteArray("[A]\rx=1\r\r; c") << QStringList{"A", "x", "2"}
        << QByteArray("[A]\r\nx=2\r\n\r\n; c\r\n");
    QTest::newRow("other lines kept as they are")
        << true << QByteArray("  ; comment = with equals\r\n[A] ; x\r\n\tjunk line\r\nk = 1\r\n")
        << QStringList{"A", "k", "2", "A", "n", "3"}
        << QByteArray("  ; comment = with equals\r\n[A] ; x\r\n\tjunk line\r\nk=2\r\nn=3\r\n");
    QTest::newRow("czech comment kept")
        << true << QByteArray("; \x8Elu\x9Do\x75\xE8k\xFD\r\n[A]\r\n") << QStringList{"A", "k", "1"}
        << QByteArray("; \x8Elu\x9Do\x75\xE8k\xFD\r\n[A]\r\nk=1\r\n");
}

void TTestProfile::writeSequence() {
    QFETCH(bool, existing);
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);

    if (existing)
        WriteAll(iniPath(), before);
    TProfileFile ini(iniPath());
    QCOMPARE(writes.size() % 3, 0);
    for (qsizetype i = 0; i < writes.size(); i += 3)
        ini.WriteString(writes[i], writes[i + 1], writes[i + 2]);
    QCOMPARE(ReadAll(iniPath()), after);
    // What was written last reads back.
    const qsizetype last = writes.size() - 3;
    QCOMPARE(ini.ReadString(writes[last], writes[last + 1], "def"), writes[last + 2]);
}

void TTestProfile::writeTypedValues() {
    TProfileFile ini(iniPath());
    ini.WriteInteger("Pocty", "OKScit", -12);
    ini.WriteInteger("Pocty", "OKOdcit", 2147483647);
    ini.WriteBool("Nastaveni", "Scit10", true);
    ini.WriteBool("Nastaveni", "Odcit10", false);
    QCOMPARE(ReadAll(iniPath()), QByteArray("[Pocty]\r\nOKScit=-12\r\nOKOdcit=2147483647\r\n"
                                            "[Nastaveni]\r\nScit10=1\r\nOdcit10=0\r\n"));
    QCOMPARE(ini.ReadInteger("pocty", "okscit", 0), -12);
    QCOMPARE(ini.ReadInteger("pocty", "okodcit", 0), 2147483647);
    QCOMPARE(ini.ReadBool("nastaveni", "scit10", false), true);
    QCOMPARE(ini.ReadBool("nastaveni", "odcit10", true), false);
}

void TTestProfile::blanksAroundWrittenValue_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("leading and trailing blanks")
        << "  tajne  " << QByteArray("Passwd=  tajne  ") << "tajne";
    QTest::newRow("tabs") << "\ta b\t" << QByteArray("Passwd=\ta b\t") << "a b";
    QTest::newRow("blanks only") << "   " << QByteArray("Passwd=   ") << "";
    QTest::newRow("empty") << "" << QByteArray("Passwd=") << "";
    QTest::newRow("quoted") << "\"heslo\"" << QByteArray("Passwd=\"heslo\"") << "heslo";
}

void TTestProfile::blanksAroundWrittenValue() {
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    QFETCH(QString, readBack);

    TProfileFile ini(iniPath());
    ini.WriteString("Passwd", "Passwd", value);
    QCOMPARE(ReadAll(iniPath()), "[Passwd]\r\n" + line + "\r\n");
    QCOMPARE(ini.ReadString("Passwd", "Passwd", "def"), readBack);
}

void TTestProfile::longValueIsCut() {
    QString value;
    for (int i = 0; i < 3000; ++i)
        value += QChar(u'a' + i % 26);
    TProfileFile ini(iniPath());
    ini.WriteString("A", "Long", value);
    QCOMPARE(ReadAll(iniPath()).size(), qsizetype(QByteArray("[A]\r\nLong=\r\n").size() + 3000));
    const QString read = ini.ReadString("A", "Long", "def");
    QCOMPARE(read.size(), qsizetype(2047));
    QCOMPARE(read, value.left(2047));
}

void TTestProfile::lineBreakInValueStaysOnOneLine() {
    TProfileFile ini(iniPath());
    ini.WriteString("A", "k", "a\r\n[B]\nx=1");
    ini.WriteString("B", "x", "2");
    QCOMPARE(ReadAll(iniPath()), QByteArray("[A]\r\nk=a  [B] x=1\r\n[B]\r\nx=2\r\n"));
}

void TTestProfile::czechLetters() {
    TProfileFile ini(iniPath());
    ini.WriteString("Passwd", "Passwd", HorseText());
    QCOMPARE(ReadAll(iniPath()), "[Passwd]\r\nPasswd=" + HorseBytes + "\r\n");
    QCOMPARE(ini.ReadString("passwd", "PASSWD", "def"), HorseText());

    // Each byte of a file written elsewhere reads as its windows-1250 letter.
    WriteAll(iniPath(), "[A]\r\nk=\x8A\x9A\xC8\xE8\xD8\xF8\xCF\xEF\r\n");
    QCOMPARE(ini.ReadString("A", "k", "def"), QString::fromUtf8("ŠšČčŘřĎď"));
}

// The files' code page is the system's (GetACP on Windows): windows-1250
// where the tests run, with a Czech locale.
void TTestProfile::ansiCodePage_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes"); // empty: not in the code page

    QTest::newRow("Czech") << HorseText() << HorseBytes;
    QTest::newRow("euro, quotes") << QString::fromUtf8("€„“") << QByteArray("\x80\x84\x93");
    QTest::newRow("German") << QString::fromUtf8("äöüß") << QByteArray("\xE4\xF6\xFC\xDF");
    QTest::newRow("Danish") << QString::fromUtf8("Å") << QByteArray();
    QTest::newRow("Japanese") << QString::fromUtf8("日本") << QByteArray();
}

void TTestProfile::ansiCodePage() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QCOMPARE(AnsiCodePageName(), QString("windows-1250"));
    QCOMPARE(AnsiHolds(text), !bytes.isEmpty());
    if (bytes.isEmpty()) {
        QCOMPARE(AnsiEncode(text).size(), text.size()); // one substitute each
    } else {
        QCOMPARE(AnsiEncode(text), bytes);
        QCOMPARE(AnsiDecode(bytes), text);
    }
}

// The data folder: the platform's application-data folder (on Windows the
// roaming one, which %APPDATA% names too), a separator unless it ends in one,
// "zirmon" and a separator; asking for its path makes nothing.
namespace {
QString GivenFolder;
QString Given() {
    return GivenFolder;
}
} // namespace

void TTestProfile::dataFolder_data() {
    QTest::addColumn<QString>("folder"); // "platform": the platform's own
    QTest::addColumn<QString>("expected");

    const QString sep = QDir::separator();
#ifdef Q_OS_WIN
    const QString platform = qEnvironmentVariable("APPDATA");
#else
    const QString platform = qEnvironmentVariable("XDG_DATA_HOME");
#endif
    QTest::newRow("platform") << "platform" << platform + sep + "zirmon" + sep;
    QTest::newRow("plain") << Home.root() + "/ad" << Home.root() + "/ad" + sep + "zirmon" + sep;
    QTest::newRow("ends in separator")
        << Home.root() + "/ad" + sep << Home.root() + "/ad" + sep + "zirmon" + sep;
    QTest::newRow("none") << ""
                          << "";
}

void TTestProfile::dataFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, expected);

    QString (*const saved)() = AppDataFolder;
    GivenFolder = folder;
    AppDataFolder = folder == "platform" ? &PlatformAppDataFolder : &Given;
    const QString path = DataDirPath();
    AppDataFolder = saved;
    QCOMPARE(path, expected);
    if (!path.isEmpty() && folder != "platform")
        QVERIFY(!QFileInfo::exists(path));
}

void TTestProfile::writeFailure_data() {
    QTest::addColumn<QString>("kind");

    QTest::newRow("read-only folder") << "read-only";
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("parent is a file") << "parent-file";
    QTest::newRow("path is a folder") << "folder";
}

void TTestProfile::writeFailure() {
    QFETCH(QString, kind);

    const QString base = Home.root() + "/fail-" + kind;
    QString path = base + "/zirmon.ini";
    if (kind == "read-only") {
        QVERIFY(QDir().mkpath(base));
        WriteAll(path, "[A]\r\nk=1\r\n");
        QVERIFY(QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        if (QFileInfo(base).isWritable()) {
            QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
            QSKIP("this user may write into read-only folders");
        }
    } else if (kind == "parent-file") {
        WriteAll(base, "x");
    } else if (kind == "folder") {
        path = base;
        QVERIFY(QDir().mkpath(path));
    }

    TProfileFile ini(path);
    QString message;
    try {
        ini.WriteString("A", "k", "2");
    } catch (const EZirmonError& e) {
        message = e.message();
    }
    if (kind == "read-only") {
        QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
        QCOMPARE(ReadAll(path), QByteArray("[A]\r\nk=1\r\n"));
    }
    QCOMPARE(message, "Unable to write to " + path);
    if (kind == "missing")
        QVERIFY(!QFileInfo::exists(base));
    QCOMPARE(ini.ReadString("A", "k", "def"), kind == "read-only" ? "1" : "def");
}

void TTestProfile::newFileIsPrivate() {
    TProfileFile ini(iniPath());
    ini.WriteString("Passwd", "Passwd", "tajne");
    QCOMPARE(ModeBits(iniPath()), 0600);
    // The later writes keep it that way.
    ini.WriteString("Passwd", "Passwd", "jine");
    QCOMPARE(ModeBits(iniPath()), 0600);
}

void TTestProfile::existingFileKeepsPermissions() {
    WriteAll(iniPath(), "[A]\r\n");
    QVERIFY(::chmod(QFile::encodeName(iniPath()).constData(), 0640) == 0);
    TProfileFile(iniPath()).WriteString("A", "k", "1");
    QCOMPARE(ModeBits(iniPath()), 0640);
    QCOMPARE(ReadAll(iniPath()), QByteArray("[A]\r\nk=1\r\n"));
}

void TTestProfile::unreadablePaths_data() {
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing file") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("empty path") << "empty";
}

void TTestProfile::unreadablePaths() {
    QFETCH(QString, kind);

    QString path = Home.root() + "/unreadable-" + kind;
    if (kind == "folder") {
        QVERIFY(QDir().mkpath(path));
        WriteAll(path + "/zirmon.ini", "[A]\r\nk=1\r\n");
    } else if (kind == "pipe") {
        QVERIFY(MakeFifo(path));
    } else if (kind == "empty") {
        path.clear();
    }

    // A pipe without a writer would block an ordinary open for ever.
    const TProfileFile ini(path);
    QCOMPARE(ini.ReadString("A", "k", "def"), QString("def"));
    QCOMPARE(ini.ReadInteger("A", "k", 17), 17);
    QCOMPARE(ini.ReadBool("A", "k", true), true);
    // Only a plain missing file may be created by a write.
    if (kind != "missing")
        QVERIFY_THROWS_EXCEPTION(EZirmonError, TProfileFile(path).WriteString("A", "k", "1"));
}

void TTestProfile::readsFollowTheDisk() {
    const TProfileFile ini(iniPath());
    QCOMPARE(ini.ReadInteger("Pocty", "OKScit", -1), -1);
    WriteAll(iniPath(), "[Pocty]\r\nOKScit=3\r\n");
    QCOMPARE(ini.ReadInteger("Pocty", "OKScit", -1), 3);
    // Same size and, within the clock's resolution, the same time stamp.
    WriteAll(iniPath(), "[Pocty]\r\nOKScit=4\r\n");
    QCOMPARE(ini.ReadInteger("Pocty", "OKScit", -1), 4);
    QVERIFY(QFile::remove(iniPath()));
    QCOMPARE(ini.ReadInteger("Pocty", "OKScit", -1), -1);
    QCOMPARE(ini.ReadString("Pocty", "OKScit", "def"), QString("def"));
}

void TTestProfile::hugeFile() {
    // 50 MB of comment lines, then the entry.
    QByteArray bytes;
    const QByteArray filler(998, 'x');
    bytes.reserve(50 * 1000 * 1000 + 100);
    bytes += "[A]\r\n";
    for (int i = 0; i < 50 * 1000; ++i)
        bytes += filler + "\r\n";
    bytes += "k=5\r\n";
    WriteAll(iniPath(), bytes);

    QElapsedTimer timer;
    timer.start();
    TProfileFile ini(iniPath());
    QCOMPARE(ini.ReadInteger("A", "k", -1), 5);
    ini.WriteInteger("A", "k", 6);
    QCOMPARE(ini.ReadInteger("A", "k", -1), 6);
    QCOMPARE(QFileInfo(iniPath()).size(), qint64(bytes.size()));
    qDebug("50 MB: read, write and read in %lld ms", static_cast<long long>(timer.elapsed()));
}

QTEST_GUILESS_MAIN(TTestProfile)
#include "tst_profile.moc"
