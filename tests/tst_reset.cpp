// The tally reset and its password gate, driven from the main window's
// button "&Vynulovat" as a user drives them.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/ListFile.h"
#include "windows/Cells.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

// The ten count cells with their keys and counters, in the file's order.
struct TCount {
    const char* Key;
    bool Totals;
    int Col;
    int Row;
    int TPracticeState::*Counter;
    int Stored; // the value the test file holds
};

const TCount Counts[] = {
    {"OKscit", false, 2, 1, &TPracticeState::OkAdd, 3},
    {"KOscit", false, 3, 1, &TPracticeState::BadAdd, 1},
    {"OKodcit", false, 2, 2, &TPracticeState::OkSub, 4},
    {"KOodcit", false, 3, 2, &TPracticeState::BadSub, 2},
    {"OKnas", false, 2, 3, &TPracticeState::OkMul, 5},
    {"KOnas", false, 3, 3, &TPracticeState::BadMul, 6},
    {"OKdele", false, 2, 4, &TPracticeState::OkDiv, 7},
    {"KOdele", false, 3, 4, &TPracticeState::BadDiv, 8},
    {"OKcelk", true, 2, 0, &TPracticeState::OkTotal, 99}, // not the sum: 19
    {"KOcelk", true, 3, 0, &TPracticeState::BadTotal, -4},
};

QString Cell(const TCount& c) {
    return GetCell(c.Totals ? Form1->celk : Form1->vysl, c.Col, c.Row);
}

// The settings file of these tests, with the counts as stored or zeroed.
QByteArray File(bool protect, const QByteArray& password, bool zeroed) {
    QByteArray bytes = "[joheslo]\r\nhsl=" + QByteArray(protect ? "1" : "0") +
                       "\r\n[PASSWD]\r\nUSRPASSWD=" + password + "\r\n[Tabulka]\r\n";
    for (const TCount& c : Counts)
        bytes += QByteArray(c.Key) + '=' + QByteArray::number(zeroed ? 0 : c.Stored) + "\r\n";
    return bytes;
}

const QString EarlierList = QStringLiteral("Špatně vypočítané příklady\r\n3 + 4 = 8\r\n");

} // namespace

class TestReset : public QObject {
    Q_OBJECT

    TTempHome Home;
    QByteArray EarlierListBytes;
    QString Ini() const { return Home.dataDir() + "zirmon.ini"; }

    void Start(const QByteArray& file) {
        DestroyWindows();
        QDir(Home.dataDir()).removeRecursively();
        WriteAll(Ini(), file);
        PracticeState = TPracticeState{};
        CreateWindows();
        SaveListFile(GetListPath(), EarlierList);
        EarlierListBytes = ReadAll(GetListPath());
        vyslForm->SetListText(EarlierList);
        QVERIFY(ShowMainWindow());
    }

    static void VerifyCounts(bool zeroed) {
        for (const TCount& c : Counts) {
            const int expected = zeroed ? 0 : c.Stored;
            QCOMPARE(Cell(c), QStringLiteral("      ") + QString::number(expected));
            QCOMPARE(PracticeState.*c.Counter, expected);
        }
    }

    void VerifyListEmptied() {
        QCOMPARE(vyslForm->ListText(), ClearedListText());
        QCOMPARE(LoadListFile(GetListPath()), ClearedListText());
    }

private Q_SLOTS:
    void init() { Failures.clear(); }
    void cleanup() {
        StopWaiting();
        QVERIFY2(Failures.isEmpty(), qPrintable(Failures.join(QStringLiteral("; "))));
        DestroyWindows();
    }

    void gateDesign() {
        Start(File(true, "abc", false));
        QCOMPARE(PasswordDlg1->objectName(), QStringLiteral("PasswordDlg1"));
        QCOMPARE(PasswordDlg1->windowTitle(), QStringLiteral("Chráněno heslem"));
        QCOMPARE(PasswordDlg1->size(), QSize(236, 91));
        QCOMPARE(PasswordDlg1->minimumSize(), PasswordDlg1->maximumSize());
        QVERIFY(!(PasswordDlg1->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(PasswordDlg1->font().pixelSize(), 11);
        QVERIFY(PasswordDlg1->font().bold());
        QCOMPARE(PasswordDlg1->Label1->text(), QStringLiteral("Vložte heslo:"));
        QCOMPARE(PasswordDlg1->Label1->geometry(), QRect(8, 9, 74, 13));
        QCOMPARE(PasswordDlg1->Password->geometry(), QRect(16, 27, 220, 20));
        QCOMPARE(PasswordDlg1->OKBtn->geometry(), QRect(66, 59, 77, 27));
        QCOMPARE(PasswordDlg1->CancelBtn->geometry(), QRect(152, 59, 77, 27));
        QCOMPARE(PasswordDlg1->OKBtn->text(), QStringLiteral("OK"));
        QCOMPARE(PasswordDlg1->CancelBtn->text(), QStringLiteral("Zrušit"));
        QVERIFY(PasswordDlg1->OKBtn->isDefault());
        QVERIFY(!PasswordDlg1->OKBtn->icon().pixmap(16, 16).isNull());
        QVERIFY(!PasswordDlg1->CancelBtn->icon().pixmap(16, 16).isNull());
        QCOMPARE(PasswordDlg1->Password->echoMode(), QLineEdit::Password);
        QCOMPARE(PasswordDlg1->Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                            nullptr, PasswordDlg1->Password),
                 int(u'*'));
    }

    void reset_data() {
        QTest::addColumn<bool>("protect");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<bool>("warned");
        QTest::newRow("unprotected") << false << QByteArray("Tajne1") << ""
                                     << "" << true << false;
        QTest::newRow("stored password") << true << QByteArray("Tajne1") << "OK"
                                         << "Tajne1" << true << false;
        QTest::newRow("stored password, Enter") << true << QByteArray("Tajne1") << "Enter"
                                                << "Tajne1" << true << false;
        QTest::newRow("master password") << true << QByteArray("Tajne1") << "OK"
                                         << "741mv58" << true << false;
        QTest::newRow("other letter case") << true << QByteArray("Tajne1") << "OK"
                                           << "tajne1" << false << true;
        QTest::newRow("trailing blank") << true << QByteArray("Tajne1") << "OK"
                                        << "Tajne1 " << false << true;
        QTest::newRow("wrong password") << true << QByteArray("Tajne1") << "Enter"
                                        << "Tajne2" << false << true;
        QTest::newRow("empty entry") << true << QByteArray("Tajne1") << "OK"
                                     << "" << false << true;
        QTest::newRow("no password stored, empty entry") << true << QByteArray() << "OK"
                                                         << "" << true << false;
        QTest::newRow("no password stored, master") << true << QByteArray() << "OK"
                                                    << "741mv58" << true << false;
        QTest::newRow("no password stored, some entry") << true << QByteArray() << "OK"
                                                        << "x" << false << true;
        QTest::newRow("Zrušit") << true << QByteArray("Tajne1") << "Zrušit"
                                << "Tajne1" << false << false;
        QTest::newRow("Esc") << true << QByteArray("Tajne1") << "Esc"
                             << "Tajne1" << false << false;
        QTest::newRow("close box") << true << QByteArray("Tajne1") << "close box"
                                   << "Tajne1" << false << false;
    }
    void reset() {
        QFETCH(bool, protect);
        QFETCH(QByteArray, stored);
        QFETCH(QString, action);
        QFETCH(QString, entry);
        QFETCH(bool, cleared);
        QFETCH(bool, warned);
        Start(File(protect, stored, false));
        VerifyCounts(false);
        PasswordDlg1->Password->setText(QStringLiteral("left over"));
        QStringList boxes;
        bool gate = false;
        WhenModal(
            "message box", [](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
            NoteAndConfirm(&boxes), false);
        WhenModal(
            "gate", Is(PasswordDlg1),
            [&](QWidget*) {
                gate = true;
                // Nothing is emptied before the gate has its answer.
                QCOMPARE(vyslForm->ListText(), EarlierList);
                QCOMPARE(PasswordDlg1->Password->text(), QString());
                QCOMPARE(FocusName(), QStringLiteral("Password"));
                AnswerGate(entry, action);
                QVERIFY(!PasswordDlg1->isVisible());
            },
            protect);
        Click(Form1->nuluj);
        StopWaiting();
        QCOMPARE(gate, protect);
        VerifyCounts(cleared);
        QCOMPARE(ReadAll(Ini()), File(protect, stored, cleared));
        QCOMPARE(boxes, warned ? QStringList{QStringLiteral("Warning|Heslo bylo zadáno špatně!")}
                               : QStringList());
        if (cleared) {
            VerifyListEmptied();
        } else {
            QCOMPARE(vyslForm->ListText(), EarlierList);
            QCOMPARE(ReadAll(GetListPath()), EarlierListBytes);
        }
        if (action == "OK" || action == "Enter")
            QCOMPARE(PracticeState.EnteredPassword, entry);
        else
            QCOMPARE(PracticeState.EnteredPassword, QString());
    }

    // The settings and "Vymazat vše" are behind the same gate, asked only
    // while the protection is on and a password is stored.
    void otherGates_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("protect");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("warned");
        for (const char* target : {"nast", "BitBtn2"}) {
            const QByteArray p("Tajne1");
            auto row = [target](const char* name) -> QTestData& {
                return QTest::addRow("%s, %s", target, name) << QString::fromLatin1(target);
            };
            row("unprotected") << false << p << ""
                               << "" << true << false;
            row("no password stored") << true << QByteArray() << ""
                                      << "" << true << false;
            row("stored password") << true << p << "Enter"
                                   << "Tajne1" << true << false;
            row("master password") << true << p << "OK"
                                   << "741mv58" << true << false;
            row("wrong password") << true << p << "OK"
                                  << "tajne1" << false << true;
            row("Zrušit") << true << p << "Zrušit"
                          << "Tajne1" << false << false;
            row("Esc") << true << p << "Esc"
                       << "Tajne1" << false << false;
            row("close box") << true << p << "close box"
                             << "Tajne1" << false << false;
        }
    }
    void otherGates() {
        QFETCH(QString, target);
        QFETCH(bool, protect);
        QFETCH(QByteArray, stored);
        QFETCH(QString, action);
        QFETCH(QString, entry);
        QFETCH(bool, goesOn);
        QFETCH(bool, warned);
        Start(File(protect, stored, false));
        QStringList boxes;
        bool gate = false;
        bool settings = false;
        WhenModal(
            "message box", [](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
            NoteAndConfirm(&boxes), false);
        WhenModal(
            "gate", Is(PasswordDlg1),
            [&](QWidget*) {
                gate = true;
                AnswerGate(entry, action);
            },
            !action.isEmpty());
        if (target == "nast") {
            WhenModal(
                "settings", Is(setpoc),
                [&](QWidget*) {
                    settings = true;
                    Click(setpoc->CancelBtn);
                },
                goesOn);
            Form1->nast->trigger();
        } else {
            WhenModal("list window", Is(vyslForm), [](QWidget*) {
                Click(vyslForm->BitBtn2);
                vyslForm->close();
            });
            Form1->Pklady1->trigger();
        }
        StopWaiting();
        QCOMPARE(gate, !action.isEmpty());
        QCOMPARE(settings, goesOn && target == "nast");
        QCOMPARE(boxes, warned ? QStringList{QStringLiteral("Warning|Heslo bylo zadáno špatně!")}
                               : QStringList());
        VerifyCounts(false);
        QCOMPARE(ReadAll(Ini()), File(protect, stored, false));
        if (goesOn && target == "BitBtn2")
            VerifyListEmptied();
        else
            QCOMPARE(ReadAll(GetListPath()), EarlierListBytes);
    }

    void gateCentredOnFirstShowingThenKept() {
        Start(File(true, "abc", false));
        QPoint kept;
        WhenModal("gate", Is(PasswordDlg1), [&](QWidget*) {
            const QRect area = PasswordDlg1->screen()->availableGeometry();
            const QPoint centre = PasswordDlg1->frameGeometry().center();
            QVERIFY(qAbs(centre.x() - area.center().x()) <= 1);
            QVERIFY(qAbs(centre.y() - area.center().y()) <= 1);
            PasswordDlg1->move(PasswordDlg1->pos() + QPoint(-40, 25));
            kept = PasswordDlg1->pos();
            Key(Qt::Key_Escape);
        });
        Click(Form1->nuluj);
        WhenModal("gate", Is(PasswordDlg1), [&](QWidget*) {
            QCOMPARE(PasswordDlg1->pos(), kept);
            Key(Qt::Key_Escape);
        });
        Click(Form1->nuluj);
        VerifyCounts(false);
    }

    void unsavableListStopsTheReset() {
        Start(File(true, "abc", false));
        QFile::remove(GetListPath());
        QDir().mkpath(GetListPath()); // a folder where the list should be
        QStringList boxes;
        WhenModal("gate", Is(PasswordDlg1), [](QWidget*) {
            Type("abc");
            Key(Qt::Key_Return);
        });
        WhenModal("error box", IsBox("ErrorBox"), NoteAndConfirm(&boxes));
        Click(Form1->nuluj);
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].startsWith("Zirmon|Cannot create file \"" + GetListPath() + "\". "),
                 qPrintable(boxes[0]));
        VerifyCounts(false);
        QCOMPARE(ReadAll(Ini()), File(true, "abc", false));
    }

    void refusedWriteEndsTheReset() {
        Start(File(false, "", false));
        QFile::remove(Ini());
        QDir().mkpath(Ini()); // a folder where the file should be
        QStringList boxes;
        WhenModal("error box", IsBox("ErrorBox"), NoteAndConfirm(&boxes));
        Click(Form1->nuluj);
        QCOMPARE(boxes, QStringList{"Zirmon|Unable to write to " + Ini() + "."});
        // Cells and the eight counters are zero already; the totals wait for
        // the reload that did not run.
        for (const TCount& c : Counts)
            QCOMPARE(Cell(c), QStringLiteral("      0"));
        QCOMPARE(PracticeState.OkAdd, 0);
        QCOMPARE(PracticeState.BadDiv, 0);
        QCOMPARE(PracticeState.OkTotal, 99);
        QCOMPARE(PracticeState.BadTotal, -4);
        VerifyListEmptied();
    }
};

QTEST_MAIN(TestReset)
#include "tst_reset.moc"
