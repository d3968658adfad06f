// Big and odd data files met at start-up and in use: 50 MB files, lines of
// 1 MB, NUL bytes, a pipe or a link to a folder where a file should be.
// Nothing crashes or hangs; each file loads, or gives the defaults and the
// error box where a save is refused. How long each takes is measured by
// bench/bench_hostile, not here.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "store/ProfileFile.h"
#include "windows/Cells.h"
#include "windows/Mainzirm.h"
#include "windows/Vyberdite.h"
#include "windows/Vyslf.h"

#include <QDir>
#include <QStringEncoder>
#include <QtTest>

namespace {

qsizetype BigMb() {
    const qsizetype mb = qEnvironmentVariableIntValue("ZIRMON_HOSTILE_MB");
    return mb > 0 ? mb : 50;
}

const QByteArray Keys("[Tabulka]\r\nOKscit=7\r\nKOscit=0\r\nOKodcit=0\r\nKOodcit=0\r\nOKnas=0\r\n"
                      "KOnas=3\r\nOKdele=0\r\nKOdele=0\r\nOKcelk=7\r\nKOcelk=3\r\n"
                      "[Nasobeni]\r\nnas3=0\r\n[PASSWD]\r\nUSRPASSWD=tajne\r\n");

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

    TTempHome Home;
    TFakeClock NoPause;
    QString Ini() const { return Home.dataDir() + "zirmon.ini"; }
    QString List() const { return Home.dataDir() + "priklad.dat"; }

    // Shows the list window, notes its text and closes it with OK.
    static QString ShowList() {
        QString shown;
        WhenModal("list window", Is(vyslForm), [&shown](QWidget*) {
            shown = vyslForm->ListText();
            Click(vyslForm->BitBtn1);
        });
        Form1->Pklady1->trigger();
        return shown;
    }

private Q_SLOTS:
    void initTestCase() {
        Clock = &NoPause;
        SoundPlayer = nullptr;
    }
    void init() {
        PracticeState = TPracticeState{};
        QDir(Home.dataDir()).removeRecursively();
        QVERIFY(QDir().mkpath(Home.dataDir()));
    }
    void cleanup() {
        StopWaiting();
        DestroyWindows();
    }

    // A settings file far larger than any the program writes: start-up
    // finds the keys, a save keeps every other line byte for byte.
    void bigSettingsFile_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("password");
        QTest::newRow("50 MB of lines before the keys")
            << "[Poznamky]\r\n" + RepeatedLines(BigMb() * 1000, 998, ';') << QByteArray()
            << "tajne";
        QTest::newRow("lines of 1 MB around the keys")
            << "[Poznamky]\r\n" + RepeatedLines(3, 1000 * 1000, 'x')
            << "[Dalsi]\r\n" + RepeatedLines(3, 1000 * 1000, '=') << "tajne";
        QTest::newRow("a password of 1 MB")
            << QByteArray() << "[PASSWD]\r\nUSRPASSWD=" + QByteArray(1000 * 1000, 'p') + "\r\n"
            << "tajne";
    }

    void bigSettingsFile() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, password);
        WriteAll(Ini(), before + Keys + after);

        CreateWindows();
        QVERIFY(ShowMainWindow());
        QCOMPARE(PracticeState.OkAdd, 7);
        QCOMPARE(PracticeState.BadMul, 3);
        QCOMPARE(GetCell(Form1->celk, 3, 0), QStringLiteral("      3"));
        QCOMPARE(PracticeState.MulTable[3], false);
        QCOMPARE(PracticeState.MulTable[4], true);
        QCOMPARE(PracticeState.StoredPassword, password);

        TBoxAnswerer answerer;
        Click(Form1->nasob);
        AnswerProblem(2, 2, "5");
        Click(Form1->konec);
        QVERIFY(answerer.Boxes.isEmpty());
        // The tally block was written in place; all else is as it was.
        const QByteArray now = ReadAll(Ini());
        QCOMPARE(now.size(), before.size() + Keys.size() + after.size());
        QVERIFY(now.startsWith(before));
        QVERIFY(now.endsWith(after));
        QCOMPARE(TProfileFile(Ini()).ReadInteger("Tabulka", "KOnas", -1), 4);
        QCOMPARE(TProfileFile(Ini()).ReadInteger("Tabulka", "KOcelk", -1), 4);
    }

    void passwordLineOf1MbIsCut() {
        WriteAll(Ini(), "[PASSWD]\r\nUSRPASSWD=" + QByteArray(1000 * 1000, 'p') + "\r\n");
        CreateWindows();
        QCOMPARE(PracticeState.StoredPassword, QString(2047, 'p'));
    }

    void nulBytesInTheSettingsFile() {
        WriteAll(Ini(), QByteArray("[Tabulka]\r\nOKscit=\0\0\r\nKOscit=5\0\r\nOKnas=\0 6\r\n"
                                   "[PASSWD]\r\nUSRPASSWD=ta\0jne\r\n\0\0\0[Vyber]\r\nscit=0\r\n",
                                   84));
        CreateWindows();
        QVERIFY(ShowMainWindow());
        // A count with a NUL byte is no number and reads as 0; the password
        // keeps it; a section line after NUL bytes is no section line.
        QCOMPARE(PracticeState.OkAdd, 0);
        QCOMPARE(PracticeState.BadAdd, 0);
        QCOMPARE(PracticeState.OkMul, 0);
        QCOMPARE(PracticeState.StoredPassword, QString::fromLatin1("ta\0jne", 6));
        QCOMPARE(PracticeState.PickAdd, true);
    }

    // A list file of 50 MB, lines of 1 MB and NUL bytes: the list window
    // shows it and OK writes it back as it was, and an answer adds its line
    // to all of it.
    void bigListFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("show");
        QTest::newRow("50 MB of short lines") << RepeatedLines(BigMb() * 40000, 23, '7') << true;
        QTest::newRow("lines of 1 MB") << RepeatedLines(3, 1000 * 1000, '8') << true;
        QTest::newRow("NUL bytes") << QByteArray("1  +     1    =    2\0\r\n\0\0\r\n", 27) << true;
    }

    void bigListFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, show);
        WriteAll(List(), bytes);
        CreateWindows();
        QVERIFY(ShowMainWindow());
        TBoxAnswerer answerer;
        if (show) {
            const QString shown = ShowList();
            QCOMPARE(shown.size(), bytes.size());
            QCOMPARE(ReadAll(List()), bytes);
        }
        Click(Form1->scitan);
        AnswerProblem(1, 1, "3");
        QVERIFY(answerer.Boxes.isEmpty());
        QCOMPARE(ReadAll(List()), bytes + "1  +     1    =    3\r\n");
    }

    // No regular file where the settings file should be: start-up reads
    // the defaults without waiting, and a save is refused with the error box.
    void oddSettingsPath_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a pipe") << "pipe";
        QTest::newRow("a link to a folder") << "link to folder";
        QTest::newRow("a link to nothing") << "dangling link";
        QTest::newRow("a folder") << "folder";
    }

    void oddSettingsPath() {
        QFETCH(QString, kind);
        const QString path = Ini();
        if (kind == "pipe") {
            QVERIFY(MakeFifo(path));
        } else if (kind == "link to folder") {
            QVERIFY(QDir().mkpath(Home.root() + "/elsewhere"));
            WriteAll(Home.root() + "/elsewhere/zirmon.ini", Keys);
            QVERIFY(MakeSymlink(Home.root() + "/elsewhere", path));
        } else if (kind == "dangling link") {
            QVERIFY(MakeSymlink("nothing-here", path));
        } else {
            QVERIFY(QDir().mkpath(Ini()));
        }

        CreateWindows();
        QVERIFY(ShowMainWindow());
        QCOMPARE(PracticeState.AddTo10, true);
        QCOMPARE(PracticeState.MulTable[3], true);
        QCOMPARE(PracticeState.OkAdd, 0);
        QCOMPARE(GetCell(Form1->vysl, 2, 1), QStringLiteral("      0"));

        TBoxAnswerer answerer;
        Click(Form1->nasob);
        AnswerProblem(2, 2, "4");
        Click(Form1->konec);
        // The answer's save of the counts, then "Konec počítání".
        QTRY_COMPARE(answerer.Boxes, QStringList(2, "Zirmon|Unable to write to " + Ini() + "."));
        // The program goes on, and what was there is still there.
        Click(Form1->konec);
        QTRY_COMPARE(answerer.Boxes.size(), 3);
        QCOMPARE(PracticeState.OkMul, 1);
        QCOMPARE(FileKind(path), kind == "pipe" ? 'p' : kind == "folder" ? 'd' : 'l');
        if (kind == "link to folder")
            QCOMPARE(ReadAll(Home.root() + "/elsewhere/zirmon.ini"), Keys);
    }

    // A pipe where the list file should be is never opened for reading;
    // the next save puts a regular file in its place.
    void listFileIsAPipe() {
        QVERIFY(MakeFifo(List()));
        CreateWindows();
        QVERIFY(ShowMainWindow());
        TBoxAnswerer answerer;
        const QString shown = ShowList();
        QCOMPARE(answerer.Boxes,
                 QStringList{"Zirmon|Cannot open file \"" + List() + "\". Not a regular file."});
        QCOMPARE(shown, DesignListText());
        QCOMPARE(ReadAll(List()), Cp1250(DesignListText()));
        QVERIFY(QFileInfo(List()).isFile());
    }

    // A hand-edited family file: the program starts with what it can use,
    // says in one box what it left out, and moves or rewrites no file.
    void hostileFamilyFile() {
        QByteArray family = "[Rodina]\r\nbarva=modra\r\ndite=2 Anička\r\ndite=3 ANIČKA\r\n"
                            "dite=4 CON\r\ndite=5 ../a:b\\c\r\ndite=x Bez\r\n"
                            "dite=6 \xff\xfe\r\ndite=7 " +
                            QByteArray(100000, 'a') + "\r\nposledni=5\r\n";
        for (int i = 0; i < 10000; ++i)
            family +=
                "dite=" + QByteArray::number(100 + i) + " Dite " + QByteArray::number(i) + "\r\n";
        WriteAll(Home.dataDir() + "rodina.ini", family);
        WriteAll(Home.dataDir() + "deti/2/zirmon.ini", Keys);
        for (const char* folder : {"5", "100", "101", "102", "103", "104"})
            QVERIFY(QDir().mkpath(Home.dataDir() + "deti/" + folder));
        CreateWindows();
        TBoxAnswerer answerer;
        WhenModal("chooser", Is(Vyberdite), [](QWidget*) { Key(Qt::Key_4, Qt::AltModifier); });
        QVERIFY(ChooseAtStart());
        QCOMPARE(
            answerer.Boxes,
            QStringList{"Warning|V souboru rodina.ini bylo vynecháno:\n"
                        "řádek 2: neznámý údaj\n"
                        "řádek 4: Dítě se jménem Anička už v seznamu je.\n"
                        "řádek 7: neplatné nebo opakované číslo složky\n"
                        "řádek 8: neplatné znaky\n"
                        "řádek 9: příliš dlouhý řádek\n"
                        "řádek 17: dětí může být nejvýše devět\n"
                        "řádek 18: dětí může být nejvýše devět\n"
                        "řádek 19: dětí může být nejvýše devět\n"
                        "… a dalších 9991 řádků\n"
                        "soubory v datové složce nepatřily žádnému dítěti: patří teď dítěti Dítě\n"
                        "dítě Dite 5: dětí může být nejvýše devět\n"
                        "složka dítěte CON chybí: začne s prázdnými počty"});
        QStringList names;
        for (const TChild& child : PracticeState.Children)
            names << child.Name + "@" + QString::number(child.Folder);
        QCOMPARE(names.join(", "), "Dítě@0, Anička@2, CON@4, ../a:b\\c@5, Dite 0@100, "
                                   "Dite 1@101, Dite 2@102, Dite 3@103, Dite 4@104");
        QCOMPARE(Form1->windowTitle(), "Zirmon 4.0 – ../a:b\\c");
        QCOMPARE(ReadAll(Home.dataDir() + "rodina.ini"), family);
        QCOMPARE(ReadAll(Home.dataDir() + "deti/2/zirmon.ini"), Keys);
        QVERIFY(!QFileInfo::exists(Home.dataDir() + "zirmon.ini"));
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
