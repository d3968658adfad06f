// The wrong-answer list window and its file, as a parent uses them.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "store/Errors.h"
#include "store/ListFile.h"
#include "windows/Cells.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Pokrok.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringEncoder>
#include <QtTest>

namespace {
TFakeClock NoPause;

// A week of practice in November: 7 x 8 right on three days and quick,
// 6 x 7 right on three days but slow, 3 + 4 wrong and then right, 9 - 5
// and 4 x 8 wrong, 56 : 8 right once; 2 + 2 took a walk of 90 seconds.
const QByteArray Week = "\xEF\xBB\xBF"
                        "Datum;Čas;Operace;A;B;Odpověď;Správně;Doba (ms)\r\n"
                        "2026-11-02;17:00:00;násobení;7;8;56;ano;2100\r\n"
                        "2026-11-02;17:00:05;násobení;6;7;42;ano;5000\r\n"
                        "2026-11-02;17:00:12;násobení;4;8;30;ne;7000\r\n"
                        "2026-11-02;17:00:20;sčítání;3;4;7;ano;1500\r\n"
                        "2026-11-02;17:02:00;sčítání;2;2;4;ano;90000\r\n"
                        "2026-11-03;16:00:00;násobení;7;8;56;ano;1800\r\n"
                        "2026-11-03;16:00:05;násobení;6;7;42;ano;4000\r\n"
                        "2026-11-04;16:00:00;násobení;7;8;56;ano;2400\r\n"
                        "2026-11-04;16:00:05;násobení;6;7;42;ano;6000\r\n"
                        "2026-11-05;16:00:00;sčítání;3;4;8;ne;3000\r\n"
                        "2026-11-06;16:00:00;sčítání;3;4;7;ano;2500\r\n"
                        "2026-11-07;16:00:00;odčítání;9;5;3;ne;4000\r\n"
                        "2026-11-08;16:00:00;dělení;56;8;7;ano;3500\r\n";

QStringList RowOf(const QTableWidget* grid, int row) {
    QStringList texts;
    for (int col = 0; col < grid->columnCount(); ++col)
        texts.append(grid->item(row, col) ? grid->item(row, col)->text() : QString());
    return texts;
}

} // namespace

class TestVyslf : public QObject {
    Q_OBJECT

    TTempHome Home;
    QString ListFile() const { return Home.dataDir() + "priklad.dat"; }

    void Start() {
        CreateWindows();
        QVERIFY(ShowMainWindow());
    }
    // Opens "Příklady" and runs step inside the modal window.
    template <typename Step> void WithListOpen(Step step) {
        bool ran = false;
        std::function<void()> poll;
        poll = [&] {
            // Wait until the window itself is the modal one (an error box
            // may come first and be answered elsewhere).
            if (QApplication::activeModalWidget() != vyslForm || !vyslForm->isVisible()) {
                QTimer::singleShot(10, this, poll);
                return;
            }
            step();
            ran = true;
            if (vyslForm->isVisible())
                vyslForm->reject(); // the close box: saves nothing
        };
        QTimer::singleShot(0, this, poll);
        Form1->Pklady1->trigger();
        QVERIFY(ran);
    }
    // The file dialog, when it comes, is given path and Enter.
    static void SaveAs(const QString& path, bool required = true) {
        WhenModal(
            "file dialog", [](QWidget* w) { return qobject_cast<QFileDialog*>(w); },
            [path](QWidget* w) {
                auto* name = w->findChild<QLineEdit*>("fileNameEdit");
                name->setText(path);
                QTest::keyClick(name, Qt::Key_Return);
            },
            required);
    }
    static void WrongMultiplication(int a, int b, const char* typed) {
        Form1->nasob->click();
        PracticeState.Operand1 = a;
        PracticeState.Operand2 = b;
        QTest::keyClicks(Form1->vy, typed);
        QTest::keyClick(Form1->vy, Qt::Key_Return);
        Form1->konec->click();
    }

private Q_SLOTS:
    void initTestCase() {
        Clock = &NoPause;
        SoundPlayer = nullptr;
    }
    void init() {
        PracticeState = TPracticeState{};
        LastListEncoding = TListEncoding::Ansi;
        QDir(Home.dataDir()).removeRecursively();
    }
    void cleanup() { DestroyWindows(); }

    // No list file yet: the heading lines and no error box.
    void firstShowingWithoutAFile() {
        Start();
        TBoxAnswerer answerer;
        WithListOpen([] {
            QCOMPARE(vyslForm->ListText(), DesignListText());
            QCOMPARE(vyslForm->windowTitle(), QStringLiteral("Špatně vypočítané příklady"));
            QCOMPARE(vyslForm->pos(), QPoint(336, 136));
        });
        QCOMPARE(answerer.Boxes, QStringList());
        QVERIFY(!QFile::exists(ListFile()));
        QCOMPARE(DesignListText().split("\r\n").mid(0, 3).join('|'),
                 QString(16, ' ') + "|       Špatně vypočítané příklady  |    ");
    }

    void clearAllThenOkThenShowAgain() {
        WriteAll(ListFile(), "old\r\n");
        Start();
        WithListOpen([] {
            QTest::mouseClick(vyslForm->BitBtn2, Qt::LeftButton);
            QVERIFY(vyslForm->isVisible()); // stays open
            QTest::mouseClick(vyslForm->BitBtn1, Qt::LeftButton);
            QVERIFY(!vyslForm->isVisible());
        });
        const QString header =
            QString(13, ' ') + "\r\n  Špatně vypočítané příklady \r\n" + QString(13, ' ') + "\r\n";
        QCOMPARE(ReadAll(ListFile()), Cp1250(header));
        WithListOpen([&] { QCOMPARE(vyslForm->ListText(), header); });
    }

    void handEditsShowAtTheNextShowing() {
        Start();
        WrongMultiplication(2, 3, "5");
        WithListOpen([] {});
        WriteAll(ListFile(), "edited by hand\r\nsecond line");
        WithListOpen([] {
            QCOMPARE(vyslForm->ListText(), QStringLiteral("edited by hand\r\nsecond line"));
        });
        // The window shown before the answers: earlier lines, then the new ones.
        WrongMultiplication(4, 4, "1");
        QCOMPARE(ReadAll(ListFile()),
                 QByteArray("edited by hand\r\nsecond line\r\n4   *    4    =    1"));
    }

    void byteOrderMarksAreKept_data() {
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<QString>("codec");
        QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF") << "UTF-8";
        QTest::newRow("UTF-16 little endian") << QByteArray("\xFF\xFE") << "UTF-16LE";
        QTest::newRow("UTF-16 big endian") << QByteArray("\xFE\xFF") << "UTF-16BE";
    }
    void byteOrderMarksAreKept() {
        QFETCH(QByteArray, mark);
        QFETCH(QString, codec);
        auto encode = [&codec](const QString& text) {
            QStringEncoder encoder(qPrintable(codec));
            return QByteArray(encoder.encode(text));
        };
        const QString czech = QStringLiteral("Žluťoučký kůň úpěl ďábelské ódy\r\n");
        WriteAll(ListFile(), mark + encode(czech));
        Start();
        WithListOpen([&] { QCOMPARE(vyslForm->ListText(), czech); });
        WrongMultiplication(7, 3, "20");
        QCOMPARE(ReadAll(ListFile()), mark + encode(czech + "7   *    3    =    20\r\n"));
        // A file without a mark brings the program's own encoding back.
        WriteAll(ListFile(), Cp1250("čtyři\r\n"));
        WithListOpen([] {});
        WrongMultiplication(1, 1, "3");
        QCOMPARE(ReadAll(ListFile()), Cp1250("čtyři\r\n1   *    1    =    3\r\n"));
    }

    void lineBreaksBecomeCrLf() {
        WriteAll(ListFile(), "a\nb\rc\r\nd");
        Start();
        WithListOpen([] { QCOMPARE(vyslForm->ListText(), QStringLiteral("a\r\nb\r\nc\r\nd")); });
    }

    void closeBoxSavesNothing() {
        WriteAll(ListFile(), "kept\r\n");
        Start();
        WithListOpen([] { vyslForm->BitBtn2->click(); });
        // Vymazat vše itself saved; a later close box does not save again.
        WriteAll(ListFile(), "changed\r\n");
        WithListOpen([] { vyslForm->SetListText(QStringLiteral("not saved")); });
        QCOMPARE(ReadAll(ListFile()), QByteArray("changed\r\n"));
    }

    void failedClearKeepsTheFile() {
        WriteAll(ListFile(), "precious\r\n");
        Start();
        QStringList boxes;
        TPermissionsBind bind;
        WithListOpen([&] {
            QFile::setPermissions(ListFile(), QFileDevice::ReadOwner);
            // The folder refuses new files, so the save cannot replace it.
            QFile::setPermissions(Home.dataDir(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            AnswerNextBox(&boxes);
            vyslForm->BitBtn2->click();
            QFile::setPermissions(Home.dataDir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
        });
        if (boxes.isEmpty())
            QSKIP("the folder cannot refuse the write here");
        QVERIFY2(boxes.at(0).startsWith("Zirmon|Cannot create file \"" + ListFile() + "\". "),
                 qPrintable(boxes.at(0)));
        QCOMPARE(ReadAll(ListFile()), QByteArray("precious\r\n"));
    }

    // A list file that is there but cannot be read: the answer is judged
    // and counted all the same, the file is never saved over, and the line
    // is kept for the first save after the file can be read again.
    void unreadableFileDoesNotStopTheDrill() {
        WriteAll(ListFile(), "precious\r\n");
        Start();
        QFile::setPermissions(ListFile(), QFileDevice::WriteOwner);
        TPermissionsBind bind;
        if (!bind.Active() || QFile(ListFile()).open(QIODevice::ReadOnly))
            QSKIP("the list file cannot be made unreadable here");
        QStringList boxes;
        AnswerNextBox(&boxes);
        Form1->nasob->click();
        AnswerProblem(6, 7, "40");
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0), "Zirmon|Cannot open file \"" + ListFile() + "\". Permission denied.");
        QCOMPARE(PracticeState.BadMul, 1);
        QCOMPARE(GetCell(Form1->vysl, 3, 3), QStringLiteral("      1"));
        QVERIFY(!Form1->spatne->isVisible()); // the drill went on to the next problem
        QFile::setPermissions(ListFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(ReadAll(ListFile()), QByteArray("precious\r\n"));
        AnswerProblem(2, 2, "5");
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(ReadAll(ListFile()),
                 QByteArray("precious\r\n6   *    7    =    40\r\n2   *    2    =    5\r\n"));
    }

    void clearIntoABlockedPath() {
        // A folder in the list file's place refuses the save for anybody.
        Start();
        QDir().mkpath(ListFile());
        QVERIFY_THROWS_EXCEPTION(EZirmonError, vyslForm->BitBtn2Click());
        QStringList boxes;
        AnswerNextBox(&boxes);
        vyslForm->BitBtn2->click();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.at(0).startsWith("Zirmon|Cannot create file \"" + ListFile() + "\". "));
        // The list is cleared all the same.
        QVERIFY(vyslForm->ListText().startsWith(QString(13, ' ') + "\r\n  Špatně"));
    }

    // The progress window over a week of practice, opened from the menu.
    void progressOfAWeek_data() {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("fast") << "faktaNasobeni" << 2 << 7 << "R"
                              << "7 x 8, umí rychle; poslední odpovědi: 56, 56, 56; doby "
                                 "správných: 2,1 s, 1,8 s, 2,4 s; naposledy 4. 11. 2026";
        QTest::newRow("slow") << "faktaNasobeni" << 1 << 6 << "U"
                              << "6 x 7, umí; poslední odpovědi: 42, 42, 42; doby správných: "
                                 "5,0 s, 4,0 s, 6,0 s; naposledy 4. 11. 2026";
        QTest::newRow("new") << "faktaNasobeni" << 0 << 2 << ""
                             << "2 x 3, nové";
        QTest::newRow("wrong") << "faktaNasobeni" << 2 << 4 << "u"
                               << "4 x 8, učí se; poslední odpovědi: 30; naposledy 2. 11. 2026";
        QTest::newRow("almost") << "faktaScitani" << 3 << 4 << "s"
                                << "3 + 4, skoro; poslední odpovědi: 7, 8, 7; doby správných: "
                                   "1,5 s, 2,5 s; naposledy 6. 11. 2026";
        QTest::newRow("subtraction")
            << "faktaOdcitani" << 9 << 5 << "u"
            << "9 - 5, učí se; poslední odpovědi: 3; naposledy 7. 11. 2026";
        QTest::newRow("division") << "faktaDeleni" << 0 << 7 << "s"
                                  << "56 : 8, skoro; poslední odpovědi: 7; doby správných: 3,5 s; "
                                     "naposledy 8. 11. 2026";
    }
    void progressOfAWeek() {
        QFETCH(QString, grid);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, mark);
        QFETCH(QString, spoken);
        WriteAll(Home.dataDir() + "denik.csv", Week);
        Start();
        QVERIFY(!Pokrok); // not made at start
        for (int k = 1; k <= 10; ++k) {
            PracticeState.MulTable[k] = k == 3 || k == 7 || k == 8;
            PracticeState.DivBy[k] = k == 8;
        }
        PracticeState.AddTo10 = true;
        PracticeState.AddTo20 = PracticeState.AddTo100 = false;
        PracticeState.SubTo20 = true;
        Form1->pokrok->trigger();
        QVERIFY(QTest::qWaitForWindowActive(Pokrok));
        QCOMPARE(Form1->pokrok->text(), QStringLiteral("&Pokrok"));

        const QTableWidget* days = Pokrok->tabulkaDnu;
        QCOMPARE(days->rowCount(), 15);
        QCOMPARE(RowOf(days, 0),
                 (QStringList{"8. 11. 2026", "celkem", "1", "1", "0", "0,1", "3,5"}));
        QCOMPARE(RowOf(days, 12),
                 (QStringList{"2. 11. 2026", "celkem", "5", "4", "1", "1,4", "5,0"}));
        QCOMPARE(RowOf(days, 13),
                 (QStringList{"2. 11. 2026", "sčítání", "2", "2", "0", "1,1", "45,8"}));
        QCOMPARE(RowOf(days, 14),
                 (QStringList{"2. 11. 2026", "násobení", "3", "2", "1", "0,3", "5,0"}));
        QCOMPARE(Pokrok->graf->Bars().size(), 7);
        QVERIFY(Pokrok->graf->accessibleDescription().startsWith(
            "2. 11. 2026: dobře 4, špatně 1. 3. 11. 2026: dobře 2, špatně 0."));

        auto* facts = Pokrok->findChild<QTableWidget*>(grid);
        QCOMPARE(facts->item(row, col)->text(), mark);
        QCOMPARE(facts->item(row, col)->data(Qt::AccessibleTextRole).toString(), spoken);
        QCOMPARE(facts->item(row, col)->toolTip(), spoken);
        QCOMPARE(Pokrok->faktaScitani->rowCount(), 11); // within 10
        QCOMPARE(Pokrok->faktaOdcitani->rowCount(), 21);
        QVERIFY(!Pokrok->faktaScitani->item(10, 1)); // 10 + 1 is outside
        QVERIFY(!Pokrok->faktaOdcitani->item(4, 5));
        Key(Qt::Key_Escape);
        QVERIFY(!Pokrok->isVisible());
    }

    void progressSavesACopyOfTheJournal() {
        const QByteArray journal = Week + "2026-11-09;16:00:00;dělení;9;3;=1+2;ne;800";
        WriteAll(Home.dataDir() + "denik.csv", journal);
        Start();
        Key(Qt::Key_P, Qt::AltModifier); // the menu bar's command, from the keys
        QVERIFY(QTest::qWaitForWindowActive(Pokrok));
        // Tab walks the page switcher, the chart, the grid and the buttons.
        QStringList walk;
        for (int i = 0; i < 5; ++i) {
            walk << FocusName();
            Key(Qt::Key_Tab);
        }
        QCOMPARE(walk.join(' '),
                 QStringLiteral("qt_tabwidget_tabbar graf tabulkaDnu ulozit zavrit"));
        const QString copy = Home.root() + "/kopie.csv";
        SaveAs(copy);
        TBoxAnswerer answerer;
        Pokrok->ulozit->click();
        QCOMPARE(answerer.Boxes, QStringList());
        QCOMPARE(ReadAll(copy), journal);
        QVERIFY(Failures.isEmpty());

        // The open window follows a change of the settings: sums within 20.
        WhenModal("settings dialog", Is(setpoc), [](QWidget*) {
            Click(setpoc->scitdodvac);
            Click(setpoc->OKBtn);
        });
        Form1->nast->trigger();
        QCOMPARE(Pokrok->faktaScitani->rowCount(), 21); // 11 before
    }

    // The copy goes nowhere it could replace a child's files, and with the
    // protection on only past the password.
    void progressCopyGoesOnlyWhereItMay_data() {
        QTest::addColumn<QString>("target");   // below the home, or "link" to zirmon.ini
        QTest::addColumn<QString>("password"); // typed at the gate, none: no gate
        QTest::addColumn<QString>("box");      // none: the copy is written
        const QString refused = "Zirmon|Do složky %1 kopii deníku uložit nelze: jsou tam soubory "
                                "dětí, které by přepsala. Zvolte jinou složku.";
        QTest::newRow("elsewhere") << "kopie.csv" << QString() << QString();
        QTest::newRow("the settings file") << "data/zirmon.ini" << QString() << refused;
        QTest::newRow("a child's folder") << "data/deti/2/denik.csv" << QString() << refused;
#ifdef Q_OS_UNIX
        QTest::newRow("a link to the settings") << "link" << QString() << refused;
#endif
        QTest::newRow("protected, right password") << "kopie.csv"
                                                   << "Tajne1" << QString();
        QTest::newRow("protected, wrong password") << "kopie.csv"
                                                   << "Tajne2"
                                                   << "Warning|Heslo bylo zadáno špatně!";
    }
    void progressCopyGoesOnlyWhereItMay() {
        QFETCH(QString, target);
        QFETCH(QString, password);
        QFETCH(QString, box);
        const QByteArray ini =
            password.isEmpty()
                ? QByteArray("[Tabulka]\r\nOKnas=1\r\n")
                : QByteArray("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=Tajne1\r\n");
        const QString path = target.startsWith("data/") ? Home.dataDir() + target.mid(5)
                                                        : Home.root() + "/" + target;
        QFile::remove(path); // left by an earlier row
        WriteAll(Home.dataDir() + "zirmon.ini", ini);
        WriteAll(Home.dataDir() + "denik.csv", Week);
        QDir().mkpath(Home.dataDir() + "deti/2");
        if (target == "link")
            QVERIFY(QFile::link(Home.dataDir() + "zirmon.ini", path));
        Start();
        Form1->pokrok->trigger();
        QVERIFY(QTest::qWaitForWindowActive(Pokrok));
        if (!password.isEmpty())
            WhenModal("password gate", Is(PasswordDlg1),
                      [&](QWidget*) { AnswerGate(password, "OK"); });
        SaveAs(path, !box.startsWith("Warning"));
        // The file dialog asks before it names an existing file, and is told yes.
        if (QFileInfo::exists(path))
            WhenModal(
                "replace question",
                [](QWidget* w) {
                    return qobject_cast<QMessageBox*>(w) && w->objectName().isEmpty();
                },
                [](QWidget* w) { Click(static_cast<QMessageBox*>(w)->button(QMessageBox::Yes)); });
        QStringList boxes;
        WhenModal("box", IsBox(box.startsWith("Zirmon") ? "ErrorBox" : "WarningBox"),
                  NoteAndConfirm(&boxes), !box.isEmpty());
        Pokrok->ulozit->click();
        StopWaiting();
        if (box.contains("%1"))
            box = box.arg(QDir::toNativeSeparators(Home.dataDir()));
        QCOMPARE(boxes, box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(ReadAll(Home.dataDir() + "zirmon.ini"), ini);
        QCOMPARE(QFileInfo::exists(Home.dataDir() + "deti/2/denik.csv"), false);
        if (!target.startsWith("data/") && target != "link")
            QCOMPARE(QFileInfo::exists(path) ? ReadAll(path) : QByteArray(),
                     box.isEmpty() ? Week : QByteArray());
        QVERIFY(Failures.isEmpty());
    }

    // A journal that cannot be read: one error box, then empty pages.
    void progressOfAnUnreadableJournal() {
        Start();
        QDir().mkpath(Home.dataDir() + "denik.csv");
        TBoxAnswerer answerer;
        Form1->pokrok->trigger();
        QCOMPARE(answerer.Boxes.size(), 1);
        QVERIFY(answerer.Boxes.at(0).startsWith("Zirmon|Cannot open file \""));
        QVERIFY(Pokrok->isVisible());
        QCOMPARE(Pokrok->tabulkaDnu->rowCount(), 0);
        QCOMPARE(Pokrok->faktaScitani->item(3, 4)->text(), QString());
    }
};

QTEST_MAIN(TestVyslf)
#include "tst_vyslf.moc"
