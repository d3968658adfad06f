// Failing disks and folders, met through the real windows: each refused
// write shows its error box, the program goes on, and no file is torn or
// emptied. As root, where permission bits refuse nothing, the faults are
// made with mounts in a mount namespace of this test's own (they vanish
// with it), else with the immutable flag; a full disk is a small tmpfs
// when mounting works, and always also the fault seam under the writes.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "store/ProfileFile.h"
#include "store/WholeFile.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QDir>
#include <QStringEncoder>
#include <QtTest>
#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

bool PrivateMounts = false; // this process has mounts of its own

// Called before the application starts any thread: unsharing the mounts
// needs a process of one thread.
void TryPrivateMounts() {
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0)
        return;
    PrivateMounts = ::mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) == 0;
}

QByteArray Path8(const QString& path) {
    return QFile::encodeName(path);
}

bool SetImmutable(const QString& path, bool on) {
    const int fd = ::open(Path8(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

bool CanCreateIn(const QString& folder) {
    QFile probe(folder + "probe");
    const bool created = probe.open(QIODevice::WriteOnly);
    probe.remove();
    return created;
}

// A disk that takes nothing more: the fault seam under the writes.
class TFullDisk : public TFileHooks {
public:
    qint64 SpaceLeft(const QString&) override { return 7; }
};

const QByteArray SeededIni("[Tabulka]\r\nOKnas=2\r\nKOnas=1\r\nOKcelk=2\r\nKOcelk=1\r\n");

QByteArray SeededList() {
    return Cp1250(ClearedListText() + "5   *    5    =    24\r\n");
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    TTempHome Home;
    TFakeClock NoPause;
    TFullDisk FullDisk;
    QString Data() const { return Home.dataDir(); }
    QString Ini() const { return Data() + "zirmon.ini"; }
    QString List() const { return Data() + "priklad.dat"; }
    QString DataFolder() const { return Home.root() + "/share/zirmon"; }
    QString Undo; // how the fault of the current row is taken away

    QStringList Entries() const {
        return QDir(Data()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    // Makes the data folder refuse new files by the first way this machine
    // allows; returns the way, or an empty text when there is none.
    QString MakeReadOnly() {
        if (::geteuid() != 0) {
            // Files that may be written would be written in place.
            for (const QString& file : {Ini(), List()})
                QFile::setPermissions(file, QFileDevice::ReadOwner);
            QFile::setPermissions(DataFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (!CanCreateIn(Data()))
                return Undo = "permission bits";
            QFile::setPermissions(DataFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
        }
        const QByteArray folder = Path8(DataFolder());
        if (PrivateMounts &&
            ::mount(folder.constData(), folder.constData(), "none", MS_BIND, nullptr) == 0) {
            if (::mount("none", folder.constData(), "none", MS_REMOUNT | MS_BIND | MS_RDONLY,
                        nullptr) == 0 &&
                !CanCreateIn(Data()))
                return Undo = "read-only bind mount";
            ::umount2(folder.constData(), MNT_DETACH);
        }
        if (SetImmutable(DataFolder(), true)) {
            if (!CanCreateIn(Data()))
                return Undo = "immutable flag";
            SetImmutable(DataFolder(), false);
        }
        return QString();
    }

    // A tmpfs of 64 KiB on the data folder, filled to the last byte.
    bool MountFullTmpfs() {
        const QByteArray folder = Path8(DataFolder());
        if (!PrivateMounts ||
            ::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k,mode=0700") != 0)
            return false;
        Undo = "tmpfs";
        WriteAll(Ini(), SeededIni);
        WriteAll(List(), SeededList());
        QFile filler(Data() + "filler");
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size()) {
        }
        while (filler.write("f", 1) == 1) {
        }
        return true;
    }

    void TakeFaultAway() {
        const QByteArray folder = Path8(DataFolder());
        const QString undo = Undo;
        Undo.clear();
        FileHooks = nullptr;
        if (undo == "permission bits") {
            QFile::setPermissions(DataFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
            for (const QString& file : {Ini(), List()})
                QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        } else if (undo == "read-only bind mount")
            QCOMPARE(::umount2(folder.constData(), MNT_DETACH), 0);
        else if (undo == "immutable flag")
            QVERIFY(SetImmutable(DataFolder(), false));
        else if (undo == "tmpfs")
            QVERIFY(QFile::remove(Data() + "filler"));
        else if (undo == "file in the way")
            QVERIFY(QFile::remove(DataFolder()));
        else if (undo == "folder in the way")
            QVERIFY(QDir(List()).removeRecursively());
    }

private Q_SLOTS:
    void initTestCase() {
        Clock = &NoPause;
        SoundPlayer = nullptr;
        qInfo("mounts of this test's own: %s",
              PrivateMounts ? "yes" : "no (not root or no mount namespace)");
    }
    void init() {
        PracticeState = TPracticeState{};
        Undo.clear();
        QDir(Home.root() + "/share").removeRecursively();
        QVERIFY(QDir().mkpath(DataFolder()));
    }
    void cleanup() {
        StopWaiting();
        TakeFaultAway();
        ::umount2(Path8(DataFolder()).constData(), MNT_DETACH);
        DestroyWindows();
    }

    void writeFaults_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only data folder") << "read-only";
        QTest::newRow("data folder is a plain file") << "file in the way";
        QTest::newRow("priklad.dat is a folder") << "folder in the way";
        QTest::newRow("full disk, tmpfs") << "tmpfs";
        QTest::newRow("full disk, fault seam") << "seam";
    }

    void writeFaults() {
        QFETCH(QString, kind);
        const QString ini = "Zirmon|Unable to write to " + Ini() + ".";
        const QString cannotCreate = "Zirmon|Cannot create file \"" + List() + "\". ";
        const QString cannotOpen = "Zirmon|Cannot open file \"" + List() + "\". ";
        QStringList expected; // the boxes, in order; those ending in ". " go on with a reason
        QString reason;       // the reason they give, when it is known
        QByteArray inTheWay("not a folder\r\n");

        if (kind == "file in the way") {
            QVERIFY(QDir(DataFolder()).removeRecursively());
            WriteAll(DataFolder(), inTheWay);
            Undo = kind;
            expected = QStringList{ini, cannotOpen, cannotCreate, cannotCreate, ini};
            reason = "Not a directory";
        } else {
            WriteAll(Ini(), SeededIni);
            WriteAll(List(), SeededList());
        }
        if (kind == "read-only") {
            const QString way = MakeReadOnly();
            if (way.isEmpty())
                QSKIP("no way to make a folder read-only here: not root-proof without mounts "
                      "or the immutable flag");
            qInfo("read-only folder made by: %s", qPrintable(way));
            expected = QStringList{ini, cannotCreate, cannotCreate, ini};
        } else if (kind == "folder in the way") {
            QVERIFY(QFile::remove(List()));
            QVERIFY(QDir().mkpath(List()));
            WriteAll(List() + "/inside", "kept");
            Undo = kind;
            expected = QStringList{cannotOpen, cannotCreate, cannotCreate};
        } else if (kind == "tmpfs") {
            if (!MountFullTmpfs())
                QSKIP("mounting a tmpfs is not allowed here; the fault seam row stands in");
            expected = QStringList{ini, cannotCreate, cannotCreate, ini};
            reason = "No space left on device";
        } else if (kind == "seam") {
            FileHooks = &FullDisk;
            expected = QStringList{ini, cannotCreate, cannotCreate, ini};
            reason = "No space left on device";
        }
        const QStringList before = Entries();

        CreateWindows();
        QVERIFY(ShowMainWindow());
        TBoxAnswerer answerer;
        // The settings dialog's OK, the list window's OK, a wrong answer and
        // "Konec počítání": four saves.
        WhenModal("settings dialog", Is(setpoc), [](QWidget*) { Click(setpoc->OKBtn); });
        Form1->nast->trigger();
        WhenModal("list window", Is(vyslForm), [](QWidget*) { Click(vyslForm->BitBtn1); });
        Form1->Pklady1->trigger();
        Click(Form1->nasob);
        AnswerProblem(2, 3, "7");
        Click(Form1->konec);
        QVERIFY2(Failures.isEmpty(), qPrintable(Failures.join("; ")));
        QTRY_COMPARE(answerer.Boxes.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const QString& box = answerer.Boxes.at(i);
            if (!expected[i].endsWith(". ")) {
                QCOMPARE(box, expected[i]);
                continue;
            }
            QVERIFY2(box.startsWith(expected[i]) && box.endsWith('.'), qPrintable(box));
            const QString given = box.mid(expected[i].size()).chopped(1);
            QVERIFY2(!given.trimmed().isEmpty() && !given.endsWith('.'), qPrintable(box));
            if (!reason.isEmpty())
                QCOMPARE(given, reason);
        }
        // The program went on: the answer was judged and counted.
        QCOMPARE(PracticeState.BadMul, kind == "file in the way" ? 1 : 2);

        // Nothing torn, emptied or left behind.
        if (kind == "file in the way") {
            QCOMPARE(ReadAll(DataFolder()), inTheWay);
        } else {
            // The journal is written where the disk takes it.
            const bool journal = kind == "folder in the way" || kind == "seam";
            QCOMPARE(Entries(), journal ? QStringList{"denik.csv"} + before : before);
            if (kind == "folder in the way") {
                QCOMPARE(ReadAll(List() + "/inside"), QByteArray("kept"));
                QCOMPARE(TProfileFile(Ini()).ReadInteger("Tabulka", "KOnas", -1), 2);
            } else {
                QCOMPARE(ReadAll(Ini()), SeededIni);
                QCOMPARE(ReadAll(List()), SeededList());
            }
        }

        // Once the fault is gone, the next saves work.
        TakeFaultAway();
        if (!Form1->vy->isVisible())
            Click(Form1->nasob);
        AnswerProblem(4, 4, "1");
        Click(Form1->konec);
        QVERIFY(!Form1->vy->isVisible());
        const QString head = kind == "read-only" || kind == "tmpfs" || kind == "seam"
                                 ? ClearedListText() + "5   *    5    =    24\r\n"
                                 : DesignListText();
        QCOMPARE(ReadAll(List()),
                 Cp1250(head + "2   *    3    =    7\r\n4   *    4    =    1\r\n"));
        QCOMPARE(TProfileFile(Ini()).ReadInteger("Tabulka", "KOnas", -1),
                 kind == "file in the way" ? 2 : 3);
        QCOMPARE(answerer.Boxes.size(), expected.size());
        Click(Form1->BitBtn5);
        QVERIFY(!Form1->isVisible());
        QCOMPARE(TProfileFile(Ini()).ReadInteger("Ploha", "X", -1), Form1->x());
    }

    // The settings file is deleted while the settings dialog reads it: what
    // was read stays, the rest is the defaults, nothing is reported, nothing
    // is created by reading, and OK writes a whole new file.
    void settingsFileVanishes_data() {
        QTest::addColumn<int>("vanishBefore"); // the read, counted from 1, that finds no file
        QTest::newRow("before the first read") << 1;
        QTest::newRow("before the divisors") << 19;
        QTest::newRow("before the last read") << 45;
    }

    void settingsFileVanishes() {
        QFETCH(int, vanishBefore);
        QByteArray seeded = "[Scitani]\r\ndo10=0\r\ndo20=0\r\ndo100=1\r\n"
                            "[Odcitani]\r\ndo10=0\r\ndo20=1\r\ndo100=0\r\n[Nasobeni]\r\n";
        for (int k = 1; k <= 10; ++k)
            seeded += "nas" + QByteArray::number(k) + "=" + (k == 3 ? "1" : "0") + "\r\n";
        seeded += "[Deleni]\r\n";
        for (int k = 1; k <= 10; ++k)
            seeded += "del" + QByteArray::number(k) + "=" + (k == 7 ? "1" : "0") + "\r\n";
        seeded += "[Vyber]\r\nscit=0\r\nodcit=1\r\nnasob=0\r\ndelen=0\r\n[joheslo]\r\nhsl=1\r\n"
                  "[Tabulka]\r\nOKscit=4\r\nKOcelk=9\r\n[PASSWD]\r\nUSRPASSWD=tajne\r\n";
        WriteAll(Ini(), seeded);

        CreateWindows();
        QVERIFY(ShowMainWindow());
        class TVanish : public TFileHooks {
        public:
            QString Path;
            int Reads = 0;
            int Before = 0;
            void Reading(const QString& path) override {
                if (path == Path && ++Reads == Before)
                    QFile::remove(Path);
            }
        } vanish;
        vanish.Path = Ini();
        vanish.Before = vanishBefore;
        FileHooks = &vanish;
        TBoxAnswerer answerer;
        bool shown = false;
        // The protection is on: the settings open behind the password.
        WhenModal("password gate", Is(PasswordDlg1), [](QWidget*) { AnswerGate("tajne", "OK"); });
        WhenModal("settings dialog", Is(setpoc), [&](QWidget*) {
            shown = true;
            QVERIFY(!QFileInfo::exists(Ini())); // reading created nothing
            Click(setpoc->OKBtn);
        });
        Form1->nast->trigger();
        FileHooks = nullptr;
        QVERIFY(shown);
        // The opening's LoadSettings (45 reads), one read before each of
        // SaveSettings' 36 writes (the ten counts go in one), and the two
        // LoadSettings after them.
        QCOMPARE(vanish.Reads, 45 + 36 + 45 + 45);
        QVERIFY(answerer.Boxes.isEmpty());

        const bool tables = vanishBefore > 18; // the reads up to the tables found the file
        const bool all = vanishBefore > 44;    // all but the protection flag did
        const TProfileFile written(Ini());
        QCOMPARE(written.ReadBool("Scitani", "do100", false), tables);
        QCOMPARE(written.ReadBool("Scitani", "do10", false), !tables);
        QCOMPARE(written.ReadBool("Odcitani", "do20", false), tables);
        QCOMPARE(written.ReadBool("Nasobeni", "nas1", false), !tables);
        QCOMPARE(written.ReadBool("Nasobeni", "nas3", false), true);
        QCOMPARE(written.ReadBool("Deleni", "del1", false), !all);
        QCOMPARE(written.ReadBool("Vyber", "scit", false), !all);
        QCOMPARE(written.ReadInteger("Tabulka", "OKscit", -1), all ? 4 : 0);
        QCOMPARE(written.ReadInteger("Tabulka", "KOcelk", -1), all ? 9 : 0);
        QCOMPARE(written.ReadString("PASSWD", "USRPASSWD", "-"), all ? "tajne" : "");
        // The protection box was set at start-up from the whole file.
        QCOMPARE(written.ReadBool("joheslo", "hsl", false), true);
        // The new file is whole: eight sections and their 45 keys.
        const QList<QByteArray> lines = ReadAll(Ini()).split('\n');
        QCOMPARE(lines.size(), 8 + 45 + 1);
        QVERIFY(ReadAll(Ini()).endsWith("\r\n"));
    }

    // A data folder that refuses new files while its two files may be
    // written: the saves write the files in place, and the journal, which
    // would be a new file there, is reported once.
    void readOnlyFolderWritableFiles() {
        WriteAll(Ini(), SeededIni);
        WriteAll(List(), SeededList());
        const QStringList before = Entries();
        CreateWindows();
        QVERIFY(ShowMainWindow());
        QFile::setPermissions(DataFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        Undo = "permission bits";
        TPermissionsBind bind;
        if (!bind.Active() || CanCreateIn(Data()))
            QSKIP("the folder cannot refuse new files here");
        TBoxAnswerer answerer;
        Click(Form1->nasob);
        AnswerProblem(2, 3, "7");
        Click(Form1->konec);
        QCOMPARE(answerer.Boxes.size(), 1);
        QVERIFY2(answerer.Boxes.at(0).startsWith("Zirmon|Cannot write file \"" + Data() +
                                                 "denik.csv\". Permission denied"),
                 qPrintable(answerer.Boxes.at(0)));
        QCOMPARE(ReadAll(List()), SeededList() + "2   *    3    =    7\r\n");
        QCOMPARE(TProfileFile(Ini()).ReadInteger("Tabulka", "KOnas", -1), 2);
        QCOMPARE(Entries(), before);
    }

    // The list file is deleted between a save and the list window's load:
    // no file is an empty list, so the window keeps what it had.
    void listFileVanishes() {
        CreateWindows();
        QVERIFY(ShowMainWindow());
        Click(Form1->scitan);
        AnswerProblem(1, 1, "3");
        Click(Form1->konec);
        const QByteArray saved = ReadAll(List());
        QVERIFY(saved.endsWith("1  +     1    =    3\r\n"));
        QVERIFY(QFile::remove(List()));
        TBoxAnswerer answerer;
        QString shownText;
        WhenModal("list window", Is(vyslForm), [&](QWidget*) {
            shownText = vyslForm->ListText();
            Click(vyslForm->BitBtn1);
        });
        Form1->Pklady1->trigger();
        QCOMPARE(answerer.Boxes, QStringList());
        // The list is shown as it was, and OK writes it back.
        QCOMPARE(Cp1250(shownText), saved);
        QCOMPARE(ReadAll(List()), saved);
    }
};

int main(int argc, char* argv[]) {
    TryPrivateMounts();
    QApplication application(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
