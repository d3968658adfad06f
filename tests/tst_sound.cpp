#include "TestSupport.h"
#include "practice/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>

#include <mmsystem.h>
#endif

namespace {

int Beeps = 0;
void CountBeep() {
    ++Beeps;
}

// A 16-bit mono PCM WAV file with `ms` milliseconds of a 440 Hz tone.
QByteArray ToneWav(int ms) {
    const int rate = 22050;
    const int count = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < count; ++i) {
        const qint16 v = static_cast<qint16>(12000 * std::sin(2 * 3.14159265 * 440 * i / rate));
        char b[2];
        qToLittleEndian(v, b);
        data.append(b, 2);
    }
    auto u32 = [](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        return QByteArray(b, 4);
    };
    auto u16 = [](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        return QByteArray(b, 2);
    };
    QByteArray wav;
    wav += "RIFF" + u32(36 + data.size()) + "WAVE";
    wav += "fmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16);
    wav += "data" + u32(data.size()) + data;
    return wav;
}

// Whether a thread of this process carries the given name (Linux only).
bool ThreadNamed(const QString& name) {
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (ReadAll(tasks.filePath(task + "/comm")).trimmed() == name.toUtf8())
            return true;
    }
    return false;
}

const QString SoundThreadName = QStringLiteral("zirmon-sound");

// Whether a library whose file name contains `name` is mapped into this
// process (Linux only).
bool LibraryMapped(const QByteArray& name) {
    return ReadAll(QStringLiteral("/proc/self/maps")).contains(name);
}

// Set in the copy of this program that missingModuleBeeps starts.
const char* const ChildMark = "ZIRMON_TEST_MISSING_MODULE";

} // namespace

class TSoundTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    // First, while no case has loaded the sound module.
    void audioLibrariesLoadAtFirstSound();
    void pathBesideExecutable();
    void pathInShareFolder();
    void absolutePathKept();
    void missingFileBeepsAtOnce();
    void noAudioOutputIsSilence_data();
    void noAudioOutputIsSilence();
    void realSoundDoesNotBlock();
    void threadIsLazyAndJoined();
    void missingModuleBeeps();
    void missingModuleChild();
    void builtSoundsEquallyLoud();
    void winmmPlaysAsynchronously_data();
    void winmmPlaysAsynchronously();

private:
    std::unique_ptr<TTempHome> Home;
    QString UniqueName(const QString& stem) const;
};

void TSoundTest::initTestCase() {
    Home = std::make_unique<TTempHome>();
    // No sound server: the player must cope with having no audio device.
    qputenv("PULSE_SERVER", ("unix:" + Home->root() + "/no-sound-server").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", Home->root().toLocal8Bit());
    SoundBeep = &CountBeep;
}

void TSoundTest::init() {
    Beeps = 0;
}

void TSoundTest::cleanupTestCase() {
    SoundBeep = &QApplication::beep;
}

QString TSoundTest::UniqueName(const QString& stem) const {
    return QStringLiteral("%1-%2.dat").arg(stem).arg(QCoreApplication::applicationPid());
}

// On Windows the program's player hands the sound file's full path to
// sndPlaySoundW with the asynchronous flag alone, so that a missing file
// gives the system's default sound.
#ifdef Q_OS_WIN
namespace {
QStringList WinmmCalls;
int RecordWinmm(const wchar_t* path, unsigned flags) {
    WinmmCalls << QString::fromWCharArray(path) + "|" + QString::number(flags);
    return 1;
}
int (*RealWinmm)(const wchar_t*, unsigned) = nullptr; // with its answers
QList<int> WinmmResults;
int RecordRealWinmm(const wchar_t* path, unsigned flags) {
    const int result = RealWinmm(path, flags);
    WinmmResults << result;
    return result;
}
} // namespace
#endif

void TSoundTest::winmmPlaysAsynchronously_data() {
    QTest::addColumn<QString>("fileName");
    QTest::newRow("correct") << "ok.dat";
    QTest::newRow("wrong") << "bad.dat";
    QTest::newRow("missing") << "no-such-sound.dat";
}

void TSoundTest::winmmPlaysAsynchronously() {
#ifdef Q_OS_WIN
    QFETCH(QString, fileName);
    const QString path = QDir::toNativeSeparators(SoundFilePath(fileName));
    QVERIFY(QFileInfo(path).isAbsolute());
    QVERIFY(path.contains('\\') && !path.contains('/'));
    WinmmCalls.clear();
    auto* const winmm = SndPlaySound;
    SndPlaySound = &RecordWinmm;
    TSystemSoundPlayer().Play(fileName);
    SndPlaySound = winmm;
    QCOMPARE(WinmmCalls, QStringList{path + "|" + QString::number(SND_ASYNC)});
    QCOMPARE(Beeps, 0);
    // And winmm itself returns at once (the sounds last 1.7 s), found or
    // not, with the sound started (played to the end without audio output,
    // it would say that nothing played).
    RealWinmm = winmm;
    WinmmResults.clear();
    SndPlaySound = &RecordRealWinmm;
    QElapsedTimer clock;
    clock.start();
    TSystemSoundPlayer().Play(fileName);
    const qint64 took = clock.elapsed();
    SndPlaySound = winmm;
    QCOMPARE(WinmmResults, QList<int>{1});
    QVERIFY2(took < 1000, qPrintable(QString::number(took) + " ms"));
    QCOMPARE(Beeps, 0);
#else
    QSKIP("winmm plays the sounds on Windows only");
#endif
}

void TSoundTest::pathBesideExecutable() {
    const QString name = UniqueName("tst-sound-beside");
    const QString beside = QCoreApplication::applicationDirPath() + "/" + name;
    WriteAll(beside, "x");
    const QString found = SoundFilePath(name);
    QFile::remove(beside);
    QCOMPARE(found, QDir::cleanPath(beside));
}

void TSoundTest::pathInShareFolder() {
    const QString name = UniqueName("tst-sound-share");
    const QString shareDir =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/zirmon");
    // Not beside the program: the share folder is the answer, present or not.
    QCOMPARE(SoundFilePath(name), shareDir + "/" + name);

    const bool hadShare = QDir(shareDir).exists();
    const bool hadParent = QDir(shareDir + "/..").exists();
    WriteAll(shareDir + "/" + name, "x");
    const QString found = SoundFilePath(name);
    QFile::remove(shareDir + "/" + name);
    if (!hadShare)
        QDir().rmdir(shareDir);
    if (!hadParent)
        QDir().rmdir(QDir::cleanPath(shareDir + "/.."));
    QCOMPARE(found, shareDir + "/" + name);
}

void TSoundTest::absolutePathKept() {
    const QString path = Home->root() + "/some.wav";
    QCOMPARE(SoundFilePath(path), QDir::cleanPath(path));
}

void TSoundTest::missingFileBeepsAtOnce() {
    // The players of the cases before have ended their threads.
    QTRY_VERIFY_WITH_TIMEOUT(!ThreadNamed(SoundThreadName), 5000);
    TThreadSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    player.Play(UniqueName("tst-sound-missing"));
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(Beeps, 1);
    player.Play(Home->root() + "/missing.wav");
    QCOMPARE(Beeps, 2);
    // Nothing to play: no thread is needed.
    QVERIFY(!ThreadNamed(SoundThreadName));
}

void TSoundTest::noAudioOutputIsSilence_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("a sound") << ToneWav(200);
    QTest::newRow("an undecodable file") << QByteArray(4000, 'z');
}

// No sound server runs here, so the system has no audio output: the player
// stays silent for every file it can read, on every Qt version.
void TSoundTest::noAudioOutputIsSilence() {
    QFETCH(QByteArray, content);
    const QString path = Home->root() + "/" + QTest::currentDataTag() + ".dat";
    WriteAll(path, content);
    TThreadSoundPlayer player;
    player.Play(path);
    QTest::qWait(1000);
    player.Play(path);
    QTest::qWait(300);
    QCOMPARE(Beeps, 0);
}

void TSoundTest::realSoundDoesNotBlock() {
    const QString tone = Home->root() + "/tone.wav";
    WriteAll(tone, ToneWav(300));
    // The synthesized sounds of the build, when they are there.
    const QString built = QCoreApplication::applicationDirPath() + "/../ok.dat";
    const QString other = QFile::exists(built) ? built : tone;

    auto player = std::make_unique<TThreadSoundPlayer>();
    QElapsedTimer clock;
    clock.start();
    player->Play(tone);
    const qint64 first = clock.restart();
    player->Play(other);
    player->Play(tone);
    const qint64 more = clock.elapsed();
    qInfo("first Play %lld ms, two more %lld ms", first, more);
    QVERIFY(first < 1000);
    QVERIFY(more < 1000);

    // Let the sound thread load and try to play; a valid file never beeps.
    QTest::qWait(500);
    player->Play(other);
    QTest::qWait(200);
    QCOMPARE(Beeps, 0);

    clock.restart();
    player.reset();
    qInfo("destruction %lld ms", clock.elapsed());
    QVERIFY(clock.elapsed() < 10000);
}

void TSoundTest::threadIsLazyAndJoined() {
    if (!QFile::exists(QStringLiteral("/proc/self/task")))
        QSKIP("thread names are read from /proc");
    const QString tone = Home->root() + "/tone.wav";
    WriteAll(tone, ToneWav(200));

    // The players of the tests before have ended their threads.
    QTRY_VERIFY_WITH_TIMEOUT(!ThreadNamed(SoundThreadName), 5000);
    auto player = std::make_unique<TThreadSoundPlayer>();
    QTest::qWait(50);
    QVERIFY(!ThreadNamed(SoundThreadName));
    player->Play(tone);
    QTRY_VERIFY_WITH_TIMEOUT(ThreadNamed(SoundThreadName), 5000);
    player.reset();
    // The thread has finished its work when the player is gone; the system
    // takes a moment longer to remove it from the task list.
    QTRY_VERIFY_WITH_TIMEOUT(!ThreadNamed(SoundThreadName), 5000);
}

void TSoundTest::audioLibrariesLoadAtFirstSound() {
    if (!QFile::exists(QStringLiteral("/proc/self/maps")))
        QSKIP("the mapped libraries are read from /proc");
    if (LibraryMapped("libQt6Multimedia"))
        QSKIP("an earlier case has loaded the sound module already");
    const QString tone = Home->root() + "/tone.wav";
    WriteAll(tone, ToneWav(100));
    auto player = std::make_unique<TThreadSoundPlayer>();
    QVERIFY(!LibraryMapped("zirmonsound"));
    player->Play(tone);
    QTRY_VERIFY_WITH_TIMEOUT(LibraryMapped("zirmonsound"), 5000);
    QVERIFY(LibraryMapped("libQt6Multimedia"));
    QTest::qWait(200);
    QCOMPARE(Beeps, 0);
}

// A program whose sound module is missing beeps for every sound instead. The
// case runs a copy of this test program from a folder without the module.
void TSoundTest::missingModuleBeeps() {
    const QString copy = Home->root() + "/bin/tst_sound";
    QVERIFY(QDir().mkpath(Home->root() + "/bin"));
    QFile::remove(copy);
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(ChildMark, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(copy, {QStringLiteral("missingModuleChild")});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray out = child.readAll();
    QVERIFY2(child.exitCode() == 0, out.constData());
    QVERIFY2(out.contains("PASS   : TSoundTest::missingModuleChild"), out.constData());
}

void TSoundTest::missingModuleChild() {
    if (!qEnvironmentVariableIsSet(ChildMark))
        QSKIP("run by missingModuleBeeps in a copy of the program");
    QVERIFY(!QFile::exists(SoundModulePath()));
    const QString tone = Home->root() + "/tone.wav";
    WriteAll(tone, ToneWav(100));
    TThreadSoundPlayer player;
    player.Play(tone);
    QTRY_COMPARE_WITH_TIMEOUT(Beeps, 1, 10000);
    player.Play(tone);
    QTRY_COMPARE_WITH_TIMEOUT(Beeps, 2, 10000);
}

// The applause and the siren of the build: the same loudness (RMS within
// 1 dB), and no sample at the limit of 16 bits.
void TSoundTest::builtSoundsEquallyLoud() {
    double level[2];
    for (const int i : {0, 1}) {
        const QByteArray wav =
            ReadAll(QCoreApplication::applicationDirPath() + (i ? "/../bad.dat" : "/../ok.dat"));
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        const qsizetype count = (wav.size() - 44) / 2;
        double sum = 0;
        for (qsizetype k = 0; k < count; ++k) {
            const qint16 v = qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * k);
            QVERIFY(v > -32767 && v < 32767);
            sum += double(v) * v;
        }
        level[i] = 10 * std::log10(sum / count / (32768.0 * 32768.0));
    }
    qInfo("RMS: applause %.2f dBFS, siren %.2f dBFS", level[0], level[1]);
    QVERIFY(std::fabs(level[0] - level[1]) <= 1.0);
}

QTEST_MAIN(TSoundTest)
#include "tst_sound.moc"
