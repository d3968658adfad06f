// The wrong-answer list window and its file, as a parent uses them.
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "store/Errors.h"
#include "store/ListFile.h"
#include "windows/Cells.h"
#include "windows/Mainzirm.h"
#include "windows/Vyslf.h"

#include <QDir>
#include <QStringEncoder>
#include <QtTest>

namespace {
TFakeClock NoPause;

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
};

QTEST_MAIN(TestVyslf)
#include "tst_vyslf.moc"
