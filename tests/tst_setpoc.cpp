// The settings dialog driven as a user drives it: opened from the main
// window's menu, answered from timers while it runs its own loop.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Generators.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/IntText.h"
#include "store/ProfileFile.h"
#include "windows/Cells.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/Vyberdite.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

void ShowPage(int index) {
    QTabBar* bar = setpoc->scitan->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

enum { PageAdd, PageSub, PageMul, PageDiv, PageGeneral, PageChildren };

// ---- Settings file --------------------------------------------------------

QString Value(const char* section, const QString& key) {
    return TProfileFile(GetIniPath())
        .ReadString(QString::fromLatin1(section), key, QStringLiteral("<missing>"));
}

QString Value(const char* section, const char* key) {
    return Value(section, QString::fromLatin1(key));
}

QByteArray Lines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

// The file that OK writes into an empty data folder with every box as given.
QByteArray SavedFile(const QString& add, const QString& sub, const QString& mul, const QString& div,
                     const QString& mix, bool protect) {
    QStringList l;
    l << "[Scitani]"
      << "do10=" + add.mid(0, 1) << "do20=" + add.mid(1, 1) << "do100=" + add.mid(2, 1)
      << "bezpr=" + add.mid(3, 1);
    l << "[Odcitani]"
      << "do10=" + sub.mid(0, 1) << "do20=" + sub.mid(1, 1) << "do100=" + sub.mid(2, 1)
      << "bezpr=" + sub.mid(3, 1);
    l << "[Nasobeni]";
    for (int k = 1; k <= 10; ++k)
        l << QStringLiteral("nas%1=").arg(k) + mul.mid(k - 1, 1);
    l << "[Deleni]";
    for (int k = 1; k <= 10; ++k)
        l << QStringLiteral("del%1=").arg(k) + div.mid(k - 1, 1);
    l << "[Vyber]"
      << "scit=" + mix.mid(0, 1) << "odcit=" + mix.mid(1, 1) << "nasob=" + mix.mid(2, 1)
      << "delen=" + mix.mid(3, 1) << "vracet=1";
    l << "[joheslo]" << (protect ? "hsl=1" : "hsl=0");
    l << "[Tabulka]";
    for (const char* key : {"OKscit", "KOscit", "OKodcit", "KOodcit", "OKnas", "KOnas", "OKdele",
                            "KOdele", "OKcelk", "KOcelk"})
        l << QString::fromLatin1(key) + "=0";
    l << "[PASSWD]"
      << "USRPASSWD=";
    return Lines(l);
}

QString Ticks(const QList<QCheckBox*>& boxes) {
    QString s;
    for (const QCheckBox* b : boxes)
        s += b->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QList<QCheckBox*> MulBoxes() {
    return {setpoc->nass1, setpoc->nass2, setpoc->nass3, setpoc->nass4, setpoc->nass5,
            setpoc->nass6, setpoc->nass7, setpoc->nass8, setpoc->nass9, setpoc->nass10};
}

QList<QCheckBox*> DivBoxes() {
    return {setpoc->del1, setpoc->del2, setpoc->del3, setpoc->del4, setpoc->del5,
            setpoc->del6, setpoc->del7, setpoc->del8, setpoc->del9, setpoc->del10};
}

QList<QCheckBox*> MixBoxes() {
    return {setpoc->oksc, setpoc->okod, setpoc->okna, setpoc->okde};
}

QString Radios(QRadioButton* a, QRadioButton* b, QRadioButton* c, QRadioButton* d) {
    QString s;
    for (const QRadioButton* r : {a, b, c, d})
        s += r->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QString AddRadios() {
    return Radios(setpoc->scitdodes, setpoc->scitdodvac, setpoc->scitdosta, setpoc->scitbezpr);
}
QString SubRadios() {
    return Radios(setpoc->odcitdodes, setpoc->odcitdodvac, setpoc->odcitdosta, setpoc->odcitbezpr);
}

} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT

    TTempHome Home;
    QString Ini() const { return Home.dataDir() + "zirmon.ini"; }

    // Program start over the settings file as it stands.
    void Restart() {
        DestroyWindows();
        PracticeState = TPracticeState{};
        CreateWindows();
        QVERIFY(ShowMainWindow());
    }

    // Program start over a fresh data folder holding the given file.
    void Start(const QByteArray& file = QByteArray()) {
        DestroyWindows();
        QDir(Home.dataDir()).removeRecursively();
        if (!file.isNull())
            WriteAll(Ini(), file);
        Restart();
    }

    // Opens the dialog through the menu and runs inside while it is open;
    // inside has to close it.
    void Open(const std::function<void()>& inside) {
        WhenModal("settings dialog", Is(setpoc), [inside](QWidget*) {
            inside();
            if (setpoc->isVisible()) {
                Failures << QStringLiteral("the settings dialog stayed open");
                setpoc->reject();
            }
        });
        PassTheGate();
        Form1->nast->trigger();
        QVERIFY(!setpoc->isVisible());
    }

private Q_SLOTS:
    void init() { Failures.clear(); }
    void cleanup() {
        StopWaiting();
        QVERIFY2(Failures.isEmpty(), qPrintable(Failures.join(QStringLiteral("; "))));
        DestroyWindows();
    }

    void design() {
        Start();
        QCOMPARE(setpoc->objectName(), QStringLiteral("setpoc"));
        QCOMPARE(setpoc->windowTitle(), QStringLiteral("Nastavení"));
        QCOMPARE(setpoc->size(), QSize(393, 348));
        QCOMPARE(setpoc->minimumSize(), setpoc->maximumSize());
        QVERIFY(!(setpoc->windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(!(setpoc->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(setpoc->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(setpoc->font().pixelSize(), 11);
        QVERIFY(setpoc->font().bold());
        QVERIFY(!setpoc->scitan->tabBar()->font().bold());
        QVERIFY(setpoc->OKBtn->isDefault());
        QVERIFY(!setpoc->OKBtn->icon().pixmap(16, 16).isNull());
        QVERIFY(!setpoc->CancelBtn->icon().pixmap(16, 16).isNull());

        struct TControl {
            const char* Name;
            const char* Caption;
            QRect Rect;
        };
        const TControl controls[] = {
            {"OKBtn", "&OK", {24, 316, 77, 27}},
            {"CancelBtn", "&Zpět", {244, 316, 77, 27}},
            {"scitdodes", " do 10", {16, 24, 113, 17}},
            {"scitdodvac", " do 20", {16, 80, 113, 17}},
            {"scitdosta", " do 100", {16, 136, 113, 17}},
            {"scitbezpr", " do 20 bez přechodu", {16, 192, 177, 17}},
            {"odcitdodes", " do 10", {16, 24, 113, 17}},
            {"odcitdodvac", " do 20", {16, 80, 113, 17}},
            {"odcitdosta", " do 100", {16, 136, 113, 17}},
            {"odcitbezpr", " do 20 bez přechodu", {16, 192, 177, 17}},
            {"nass1", " Násobky &1", {16, 32, 97, 17}},
            {"nass2", " Násobky &2", {16, 56, 97, 25}},
            {"nass3", " Násobky &3", {16, 88, 97, 17}},
            {"nass4", " Násobky &4", {16, 120, 97, 17}},
            {"nass5", " Násobky &5", {16, 152, 97, 17}},
            {"nass6", "Násobky &6", {144, 32, 97, 17}},
            {"nass7", " Násobky &7", {144, 56, 97, 25}},
            {"nass8", " Násobky &8", {144, 88, 97, 17}},
            {"nass9", "Násobky &9", {144, 120, 97, 17}},
            {"nass10", "Násobky 1&0", {144, 152, 97, 17}},
            {"del1", " Dělení &1", {16, 24, 97, 17}},
            {"del2", " Dělení &2", {16, 56, 97, 17}},
            {"del3", " Dělení &3", {16, 88, 97, 17}},
            {"del4", " Dělení &4", {16, 120, 97, 17}},
            {"del5", " Dělení &5", {16, 152, 97, 17}},
            {"del6", " Dělení &6", {168, 24, 97, 17}},
            {"del7", " Dělení &7", {168, 56, 97, 17}},
            {"del8", " Dělení &8", {168, 88, 97, 17}},
            {"del9", " Dělení &9", {168, 120, 97, 17}},
            {"del10", " Dělení 1&0", {168, 152, 97, 17}},
            {"oksc", "  &Sčítání", {16, 24, 97, 17}},
            {"okod", "  &Odčítání", {16, 56, 97, 17}},
            {"okna", "  &Násobení", {168, 24, 97, 17}},
            {"okde", "  &Dělení", {168, 56, 97, 17}},
            {"joheslo", "Ochrana heslem", {24, 32, 113, 17}},
            {"Button1", "Nastavení hesla", {176, 24, 105, 33}},
        };
        for (const TControl& c : controls) {
            auto* button = setpoc->findChild<QAbstractButton*>(QString::fromLatin1(c.Name));
            QVERIFY2(button, c.Name);
            QCOMPARE(button->text(), QString::fromUtf8(c.Caption));
            QCOMPARE(button->geometry(), c.Rect);
        }
        QCOMPARE(setpoc->scitan->geometry(), QRect(8, 8, 377, 297));
        QCOMPARE(setpoc->scitan->count(), 6);
        const QStringList tabs = {"Sčítání", "Odčítání", "Násobení", "Dělení", "Obecné", "Děti"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(setpoc->scitan->tabText(i), tabs[i]);
        QCOMPARE(setpoc->scitan->currentIndex(), int(PageGeneral));
        QCOMPARE(setpoc->GroupBox1->title(), QStringLiteral("Vyberte operace"));
        QCOMPARE(setpoc->GroupBox1->geometry(), QRect(8, 8, 313, 145));
        QCOMPARE(setpoc->GroupBox2->title(), QStringLiteral("Ochrana vynulování"));
        QCOMPARE(setpoc->GroupBox2->geometry(), QRect(8, 160, 313, 81));
        QVERIFY(setpoc->oksc->parentWidget() == setpoc->GroupBox1);
        QVERIFY(setpoc->joheslo->parentWidget() == setpoc->GroupBox2);
        QCOMPARE(setpoc->Label7->text(),
                 QStringLiteral("Početní operace které vyberete, budou používány"));
        QCOMPARE(setpoc->Label8->text(), QStringLiteral("pro tvorbu příkladů v Náhodném výběru."));
        QCOMPARE(setpoc->Label7->pos(), QPoint(8, 88));
        QCOMPARE(setpoc->Label8->pos(), QPoint(8, 104));

        // The creation step writes the warnings, in red.
        QCOMPARE(setpoc->Label1->text(), QStringLiteral("POZOR!!"));
        QCOMPARE(setpoc->Label3->text(), QStringLiteral("POZOR!!"));
        const QString atLeastOne = QStringLiteral("Musí být označena alespoň jedna z možností");
        QCOMPARE(setpoc->Label2->text(), atLeastOne);
        QCOMPARE(setpoc->Label4->text(), atLeastOne);
        for (QLabel* l : {setpoc->Label1, setpoc->Label2, setpoc->Label3, setpoc->Label4})
            QCOMPARE(l->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(setpoc->Label1->font().bold() && setpoc->Label3->font().bold());
        QVERIFY(!setpoc->Label2->font().bold() && !setpoc->Label4->font().bold());
        QCOMPARE(setpoc->Label1->pos(), QPoint(16, 192));
        QCOMPARE(setpoc->Label2->pos(), QPoint(16, 224));
        QCOMPARE(setpoc->Label3->pos(), QPoint(24, 200));
        QCOMPARE(setpoc->Label4->pos(), QPoint(24, 224));

        // Design states hold until the first opening; the random mix comes
        // from the stored choice at once (here the defaults: all four).
        QCOMPARE(AddRadios(), QStringLiteral("1000"));
        QCOMPARE(SubRadios(), QStringLiteral("1000"));
        QCOMPARE(Ticks(MulBoxes()), QStringLiteral("1100000000"));
        QCOMPARE(Ticks(DivBoxes()), QStringLiteral("1001000000"));
        QCOMPARE(Ticks(MixBoxes()), QStringLiteral("1111"));
    }

    void tabOrder() {
        Start();
        Open([] {
            QCOMPARE(FocusName(), QStringLiteral("OKBtn"));
            Key(Qt::Key_Tab);
            QCOMPARE(FocusName(), QStringLiteral("CancelBtn"));
            Key(Qt::Key_Tab);
            QVERIFY(FocusName() == "scitan" || Focused() == setpoc->scitan->tabBar());
            QStringList order;
            for (int i = 0; i < 7; ++i) {
                Key(Qt::Key_Tab);
                order << QApplication::focusWidget()->objectName();
            }
            // Page "Obecné": the group boxes pass the focus to their boxes.
            QCOMPARE(order,
                     (QStringList{"oksc", "okod", "okna", "okde", "joheslo", "vracet", "OKBtn"}));
            Key(Qt::Key_Escape);
        });
    }

    void firstOpeningOnEmptyFolder() {
        Start();
        QCOMPARE(PracticeState.HomeLeft, 336);
        Open([this] {
            QCOMPARE(setpoc->pos(), QPoint(336, 136));
            QCOMPARE(FocusName(), QStringLiteral("OKBtn"));
            // Opening reads the defaults and creates nothing.
            QVERIFY(!QFile::exists(Ini()));
            QCOMPARE(AddRadios(), QStringLiteral("1000"));
            QCOMPARE(SubRadios(), QStringLiteral("1000"));
            QCOMPARE(Ticks(MulBoxes()), QStringLiteral("1111111111"));
            QCOMPARE(Ticks(DivBoxes()), QStringLiteral("1111111111"));
            QCOMPARE(Ticks(MixBoxes()), QStringLiteral("1111"));
            QVERIFY(!setpoc->joheslo->isChecked());
            QVERIFY(!setpoc->Button1->isEnabled());
            // Every label is sized to its text once it is in view.
            const int page = setpoc->scitan->currentIndex();
            QSet<QLabel*> seen;
            for (int i = 0; i < setpoc->scitan->count(); ++i) {
                setpoc->scitan->setCurrentIndex(i);
                for (QLabel* l : {setpoc->Label1, setpoc->Label2, setpoc->Label3, setpoc->Label4,
                                  setpoc->Label7, setpoc->Label8}) {
                    if (!l->isVisible())
                        continue;
                    QCOMPARE(l->size(), l->sizeHint());
                    seen.insert(l);
                }
            }
            QCOMPARE(seen.size(), 6);
            QVERIFY(setpoc->Label2->width() > setpoc->Label1->width());
            setpoc->scitan->setCurrentIndex(page);
            Click(setpoc->OKBtn);
        });
        QCOMPARE(ReadAll(Ini()),
                 SavedFile("1000", "1000", "1111111111", "1111111111", "1111", false));
    }

    void openingAtHomePosition() {
        Start("[Ploha]\r\nX=100\r\ny=50\r\n");
        Form1->move(400, 300); // later moves of the main window do not count
        Open([] {
            QCOMPARE(setpoc->pos(), QPoint(100, 50));
            setpoc->move(10, 10);
            Key(Qt::Key_Escape);
        });
        Open([] {
            QCOMPARE(setpoc->pos(), QPoint(100, 50));
            Key(Qt::Key_Escape);
        });
    }

    void focusComesBackWhereItWasLeft() {
        Start();
        Open([] {
            ShowPage(PageMul);
            setpoc->nass4->setFocus(Qt::TabFocusReason);
            Key(Qt::Key_Escape);
        });
        Open([] {
            QCOMPARE(setpoc->scitan->currentIndex(), int(PageMul));
            QCOMPARE(FocusName(), QStringLiteral("nass4"));
            Key(Qt::Key_Escape);
        });
    }

    void silentCorrections_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("mul");
        QTest::addColumn<QString>("div");
        QTest::addColumn<QString>("mix");
        QTest::newRow("no table") << int(PageMul) << "1000000000"
                                  << "1111111111"
                                  << "1111";
        QTest::newRow("no divisor") << int(PageDiv) << "1111111111"
                                    << "1000000000"
                                    << "1111";
        QTest::newRow("no operation in the mix") << int(PageGeneral) << "1111111111"
                                                 << "1111111111"
                                                 << "1100";
    }
    void silentCorrections() {
        QFETCH(int, page);
        QFETCH(QString, mul);
        QFETCH(QString, div);
        QFETCH(QString, mix);
        Start();
        QStringList boxes;
        WhenModal("message box", IsBox("InformationBox"), NoteAndConfirm(&boxes), false);
        Open([page] {
            ShowPage(page);
            const QList<QCheckBox*> group = page == PageMul   ? MulBoxes()
                                            : page == PageDiv ? DivBoxes()
                                                              : MixBoxes();
            for (QCheckBox* box : group)
                Click(box);
            QCOMPARE(Ticks(group), QString(group.size(), QLatin1Char('0')));
            Key(Qt::Key_Return); // OK is the default button
        });
        QVERIFY(boxes.isEmpty());
        QCOMPARE(ReadAll(Ini()), SavedFile("1000", "1000", mul, div, mix, false));
        QCOMPARE(PracticeState.MulTable[1], true);
        QCOMPARE(PracticeState.MulTable[2], mul[1] == QLatin1Char('1'));
        QCOMPARE(PracticeState.PickMul, mix[2] == QLatin1Char('1'));
        Open([&] {
            QCOMPARE(Ticks(MulBoxes()), mul);
            QCOMPARE(Ticks(DivBoxes()), div);
            QCOMPARE(Ticks(MixBoxes()), mix);
            Click(setpoc->CancelBtn);
        });
    }

    void rangeKeys_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("addShown");
        QTest::addColumn<QString>("subShown");
        QTest::newRow("do10 and do20") << QByteArray("[Scitani]\r\ndo10=1\r\ndo20=1\r\n") << "0100"
                                       << "1000";
        QTest::newRow("do20 and do100")
            << QByteArray("[Odcitani]\r\ndo20=1\r\ndo100=1\r\n") << "1000"
            << "0010";
        QTest::newRow("all three 0") << QByteArray("[Scitani]\r\ndo10=0\r\ndo20=0\r\ndo100=0\r\n"
                                                   "[Odcitani]\r\ndo10=0\r\ndo20=0\r\ndo100=0\r\n")
                                     << "0000"
                                     << "0000";
        QTest::newRow("only do100") << QByteArray("[Scitani]\r\ndo10=0\r\ndo100=1\r\n") << "0010"
                                    << "1000";
        QTest::newRow("bezpr") << QByteArray("[Odcitani]\r\ndo10=0\r\nbezpr=1\r\n") << "1000"
                               << "0001";
        QTest::newRow("do10 overrides bezpr") << QByteArray("[Scitani]\r\nbezpr=1\r\n") << "1000"
                                              << "1000";
    }
    void rangeKeys() {
        QFETCH(QByteArray, file);
        QFETCH(QString, addShown);
        QFETCH(QString, subShown);
        Start(file);
        Open([&] {
            QCOMPARE(AddRadios(), addShown);
            QCOMPARE(SubRadios(), subShown);
            Click(setpoc->OKBtn);
        });
        QString stored;
        for (const char* section : {"Scitani", "Odcitani"})
            for (const char* key : {"do10", "do20", "do100", "bezpr"})
                stored += Value(section, key);
        QCOMPARE(stored, addShown + subShown);
        // No range is forced; the page stays as it was stored.
        Open([&] {
            QCOMPARE(AddRadios(), addShown);
            QCOMPARE(SubRadios(), subShown);
            ShowPage(PageAdd);
            Click(setpoc->scitdosta);
            QCOMPARE(AddRadios(), QStringLiteral("0010"));
            Click(setpoc->scitdodes);
            QCOMPARE(AddRadios(), QStringLiteral("1000"));
            Click(setpoc->CancelBtn);
        });
    }

    // " do 20 bez přechodu" is reached with the arrow keys like the ranges above it.
    void withoutCrossing() {
        Start();
        Open([] {
            ShowPage(PageAdd);
            Click(setpoc->scitdosta);
            Key(Qt::Key_Down);
            QCOMPARE(FocusName(), QStringLiteral("scitbezpr"));
            ShowPage(PageSub);
            Click(setpoc->odcitbezpr);
            QCOMPARE(AddRadios() + SubRadios(), QStringLiteral("00010001"));
            Click(setpoc->OKBtn);
        });
        QCOMPARE(ReadAll(Ini()),
                 SavedFile("0001", "0001", "1111111111", "1111111111", "1111", false));
    }

    // Alt+O presses OK on every page, also on "Obecné" beside "  &Odčítání".
    void altOPressesOk_data() {
        QTest::addColumn<int>("page");
        for (const int page : {PageAdd, PageSub, PageMul, PageDiv, PageGeneral, PageChildren})
            QTest::addRow("page %d", page) << page;
    }
    void altOPressesOk() {
        QFETCH(int, page);
        Start();
        Open([&] {
            ShowPage(page);
            const bool mix = setpoc->okod->isChecked();
            Key(Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(!setpoc->isVisible());
            QCOMPARE(setpoc->result(), int(QDialog::Accepted));
            QCOMPARE(setpoc->okod->isChecked(), mix);
        });
        QVERIFY(QFile::exists(Ini()));
    }

    void randomMixBeforeFirstOpening() {
        // A fresh install offers all four; a stored choice holds from the
        // first problem of a run, before the dialog was ever opened.
        Start();
        QCOMPARE(Ticks(MixBoxes()), QStringLiteral("1111"));
        Start("[Vyber]\r\nscit=0\r\nodcit=0\r\nnasob=1\r\ndelen=0\r\n");
        QCOMPARE(Ticks(MixBoxes()), QStringLiteral("0010"));
        TFakeClock noPause;
        TClock* const realClock = Clock;
        Clock = &noPause;
        Click(Form1->nah);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(Form1->oper->text(), QStringLiteral("x"));
            AnswerProblem(PracticeState.Operand1, PracticeState.Operand2, "0");
        }
        Clock = realClock;
        Click(Form1->konec);
        Open([] { Click(setpoc->CancelBtn); });
        QCOMPARE(Ticks(MixBoxes()), QStringLiteral("0010"));
    }

    void cancelledEditsStayLiveUntilReopened() {
        Start();
        Open([] {
            for (QCheckBox* box : MixBoxes())
                Click(box);
            ShowPage(PageMul);
            Click(setpoc->nass7);
            Click(setpoc->CancelBtn);
        });
        QVERIFY(!QFile::exists(Ini()));
        QCOMPARE(Ticks(MixBoxes()), QStringLiteral("0000"));
        // With no box ticked the mix still ends, with addition or subtraction.
        for (int i = 0; i < 100; ++i) {
            const TOperation op = ChooseRandomOperation();
            QVERIFY(op == TOperation::Addition || op == TOperation::Subtraction);
        }
        Open([] {
            QCOMPARE(Ticks(MixBoxes()), QStringLiteral("1111"));
            QCOMPARE(Ticks(MulBoxes()), QStringLiteral("1111111111"));
            Key(Qt::Key_Escape);
        });
    }

    void protectionAtStartup_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("off, no password") << QByteArray("[joheslo]\r\nhsl=0\r\n") << false;
        QTest::newRow("off, password")
            << QByteArray("[joheslo]\r\nhsl=0\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n") << false;
        QTest::newRow("on, no password") << QByteArray("[joheslo]\r\nhsl=1\r\n") << true;
        QTest::newRow("on, password")
            << QByteArray("[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n") << true;
    }
    void protectionAtStartup() {
        QFETCH(QByteArray, file);
        QFETCH(bool, ticked);
        DestroyWindows();
        QDir(Home.dataDir()).removeRecursively();
        WriteAll(Ini(), file);
        QStringList boxes;
        WhenModal(
            "message box", [](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
            NoteAndConfirm(&boxes), false);
        Restart();
        StopWaiting();
        QVERIFY(boxes.isEmpty());
        QCOMPARE(setpoc->joheslo->isChecked(), ticked);
        QCOMPARE(setpoc->Button1->isEnabled(), ticked);
        QCOMPARE(ReadAll(Ini()), file);
    }

    void protectionUntick_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QString>("answer"); // how the gate is left; empty: no gate
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("unticked");
        QTest::newRow("stored password") << QByteArray("abc") << "OK"
                                         << "abc" << true;
        QTest::newRow("master password") << QByteArray("abc") << "Enter"
                                         << "741mv58" << true;
        QTest::newRow("wrong password") << QByteArray("abc") << "OK"
                                        << "Abc" << false;
        QTest::newRow("Zrušit") << QByteArray("abc") << "Zrušit"
                                << "abc" << false;
        QTest::newRow("Esc") << QByteArray("abc") << "Esc"
                             << "abc" << false;
        QTest::newRow("close box") << QByteArray("abc") << "close box"
                                   << "abc" << false;
        QTest::newRow("no password stored") << QByteArray() << ""
                                            << "" << true;
    }
    void protectionUntick() {
        QFETCH(QByteArray, password);
        QFETCH(QString, answer);
        QFETCH(QString, entry);
        QFETCH(bool, unticked);
        const QByteArray file = "[joheslo]\r\nhsl=1\r\n[PASSWD]\r\nUSRPASSWD=" + password +
                                "\r\n[Tabulka]\r\nOKscit=5\r\n";
        Start(file);
        QStringList boxes;
        WhenModal(
            "message box", [](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
            NoteAndConfirm(&boxes), false);
        bool gate = false;
        Open([&] {
            WhenModal(
                "gate", Is(PasswordDlg1),
                [&](QWidget*) {
                    gate = true;
                    AnswerGate(entry, answer);
                },
                false);
            Click(setpoc->joheslo);
            QCOMPARE(setpoc->joheslo->isChecked(), !unticked);
            QCOMPARE(setpoc->Button1->isEnabled(), !unticked);
            Click(setpoc->CancelBtn);
        });
        StopWaiting();
        QCOMPARE(gate, !answer.isEmpty());
        QCOMPARE(boxes,
                 entry == "Abc" ? QStringList{"Warning|Heslo bylo zadáno špatně!"} : QStringList());
        QCOMPARE(ReadAll(Ini()), file); // the gate clears nothing

        // Left with "Zpět", the box's state holds for this run's resets.
        gate = false;
        WhenModal(
            "gate", Is(PasswordDlg1),
            [&gate](QWidget*) {
                gate = true;
                Click(PasswordDlg1->CancelBtn);
            },
            false);
        Click(Form1->nuluj);
        StopWaiting();
        QCOMPARE(gate, !unticked);
        QCOMPARE(Value("Tabulka", "OKscit"), unticked ? QStringLiteral("0") : QStringLiteral("5"));
    }

    void tickingWithoutPassword_data() {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<bool>("stillTicked");
        QTest::newRow("Zpět") << "Zpět" << false;
        QTest::newRow("Esc") << "Esc" << false;
        QTest::newRow("close box") << "close box" << true;
    }
    void tickingWithoutPassword() {
        QFETCH(QString, leave);
        QFETCH(bool, stillTicked);
        Start();
        QStringList boxes;
        bool changeDialog = false;
        Open([&] {
            // An edit made before the nested windows survives them.
            ShowPage(PageMul);
            Click(setpoc->nass5);
            ShowPage(PageGeneral);
            QVERIFY(!setpoc->joheslo->isChecked());
            WhenModal("information box", IsBox("InformationBox"), NoteAndConfirm(&boxes));
            WhenModal("password change dialog", Is(PasswordDlg), [&](QWidget*) {
                changeDialog = true;
                QVERIFY(boxes.size() == 1); // the box came first
                QVERIFY(!PasswordDlg->PASS->isEnabled());
                QCOMPARE(FocusName(), QStringLiteral("heslo1"));
                if (leave == "Zpět")
                    Click(PasswordDlg->cac);
                else if (leave == "Esc")
                    Key(Qt::Key_Escape);
                else
                    PasswordDlg->close();
            });
            Click(setpoc->joheslo);
            QVERIFY(changeDialog);
            QVERIFY(!PasswordDlg->isVisible());
            QCOMPARE(setpoc->joheslo->isChecked(), stillTicked);
            QCOMPARE(setpoc->Button1->isEnabled(), stillTicked);
            QCOMPARE(Ticks(MulBoxes()), QStringLiteral("1111011111"));
            Click(setpoc->OKBtn);
        });
        QCOMPARE(boxes, QStringList{QStringLiteral(
                            "Information|Není nastaveno žádné heslo, prosím nastavte si jej")});
        QCOMPARE(PracticeState.StoredPassword, QString());
        QCOMPARE(Value("joheslo", "hsl"), stillTicked ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(Value("Nasobeni", "nas5"), QStringLiteral("0"));
        QCOMPARE(Value("PASSWD", "USRPASSWD"), QString());
    }

    void tickingWithPasswordOnlyEnables() {
        Start("[joheslo]\r\nhsl=0\r\n[PASSWD]\r\nUSRPASSWD=abc\r\n");
        QStringList boxes;
        WhenModal(
            "message box", [](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
            NoteAndConfirm(&boxes), false);
        bool changeDialog = false;
        Open([&] {
            Click(setpoc->okde);
            Click(setpoc->joheslo);
            QVERIFY(setpoc->joheslo->isChecked());
            QVERIFY(setpoc->Button1->isEnabled());
            QVERIFY(!PasswordDlg->isVisible());
            // "Nastavení hesla" opens the change dialog; its result is not looked at.
            WhenModal("password change dialog", Is(PasswordDlg), [&](QWidget*) {
                changeDialog = true;
                QVERIFY(PasswordDlg->PASS->isEnabled());
                Click(PasswordDlg->cac);
            });
            Click(setpoc->Button1);
            QVERIFY(changeDialog);
            QVERIFY(setpoc->joheslo->isChecked()); // a password is stored
            QVERIFY(!setpoc->okde->isChecked());
            Click(setpoc->OKBtn);
        });
        StopWaiting();
        QVERIFY(boxes.isEmpty());
        QCOMPARE(Value("joheslo", "hsl"), QStringLiteral("1"));
        QCOMPARE(Value("Vyber", "delen"), QStringLiteral("0"));
        QCOMPARE(Value("PASSWD", "USRPASSWD"), QStringLiteral("abc"));
    }

    void okKeepsCountsAndPassword() {
        Start("[Tabulka]\r\nOKscit=4\r\nKOcelk=9\r\n[PASSWD]\r\nUSRPASSWD=\"  ab c \"\r\n");
        Open([] { Click(setpoc->OKBtn); });
        QCOMPARE(Value("Tabulka", "OKscit"), QStringLiteral("4"));
        QCOMPARE(Value("Tabulka", "KOcelk"), QStringLiteral("9"));
        QCOMPARE(Value("Tabulka", "KOnas"), QStringLiteral("0"));
        QVERIFY(ReadAll(Ini()).contains("\r\nUSRPASSWD=  ab c \r\n"));
        QCOMPARE(PracticeState.StoredPassword, QStringLiteral("ab c"));
        QCOMPARE(PracticeState.OkAdd, 4);
        QCOMPARE(PracticeState.BadTotal, 9);
    }

    void refusedWriteClosesTheDialog() {
        Start();
        QDir().mkpath(Ini()); // a folder where the file should be
        QStringList boxes;
        Open([&] {
            WhenModal("error box", IsBox("ErrorBox"), NoteAndConfirm(&boxes));
            Click(setpoc->nass3);
            Click(setpoc->OKBtn);
        });
        QCOMPARE(boxes, QStringList{"Zirmon|Unable to write to " + Ini() + "."});
        QVERIFY(QFileInfo(Ini()).isDir());
    }

    // Two children named on the page "Děti" practise in turn with counts,
    // list and settings of their own; the first keeps the files there were.
    void children() {
        Start("[Tabulka]\r\nOKscit=3\r\n");
        const QString data = Home.dataDir();
        TFakeClock noPause;
        TClock* const realClock = Clock;
        Clock = &noPause;
        auto boxes = std::make_unique<TBoxAnswerer>();
        Open([&] {
            ShowPage(PageChildren);
            // A name is added or refused with a box; the button acts after its flash.
            int outcomes = 0;
            // Twins: decomposed č; a right-to-left override; a zero-width space.
            for (const char* typed :
                 {"Anička", " aničKA ", " ", "Anic\u030Cka", "\u202EEma", "E\u200Bma", "Tomáš"}) {
                setpoc->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(setpoc));
                setpoc->jmeno->setFocus();
                setpoc->jmeno->setText(QString::fromUtf8(typed));
                QTest::keyClick(setpoc->jmeno, Qt::Key_P, Qt::AltModifier);
                ++outcomes;
                QTRY_COMPARE(boxes->Boxes.size() + PracticeState.Children.size(), outcomes);
            }
            Click(setpoc->CancelBtn);
        });
        const QString odd = "Warning|Jméno dítěte smí obsahovat jen písmena, číslice, mezery a "
                            "obvyklá znaménka.";
        QCOMPARE(boxes->Boxes,
                 QStringList({"Warning|Dítě se jménem Anička už v seznamu je.",
                              "Warning|Jméno dítěte nesmí být prázdné.",
                              "Warning|Dítě se jménem Anička už v seznamu je.", odd, odd}));
        boxes.reset();
        QCOMPARE(ReadAll(data + "rodina.ini"),
                 QByteArray("[Rodina]\r\ndalsi=3\r\nposledni=0\r\ndite=0 Anička\r\n"
                            "dite=2 Tomáš\r\n"));
        QCOMPARE(Form1->windowTitle(), QStringLiteral("Zirmon 4.0 – Anička"));
        QVERIFY(Form1->dite->isVisible());

        // Renamed by keyboard (Alt+E) in the list and the family file; a
        // name another child has is refused. Then back to Tomáš.
        boxes = std::make_unique<TBoxAnswerer>();
        Open([&] {
            ShowPage(PageChildren);
            setpoc->seznamDeti->setCurrentRow(1);
            for (const char* typed : {" aNIČKA", "Tomík", "Tomáš"}) {
                setpoc->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(setpoc));
                setpoc->jmeno->setFocus();
                setpoc->jmeno->setText(QString::fromUtf8(typed));
                QTest::keyClick(setpoc->jmeno, Qt::Key_E, Qt::AltModifier);
                if (QByteArray(typed) == "Tomík")
                    QTRY_VERIFY(ReadAll(data + "rodina.ini").contains("dite=2 Tomík\r\n"));
                QTRY_VERIFY(!boxes->Boxes.isEmpty());
            }
            QTRY_VERIFY(ReadAll(data + "rodina.ini").contains("dite=2 Tomáš\r\n"));
            Click(setpoc->CancelBtn);
        });
        QCOMPARE(boxes->Boxes, QStringList({"Warning|Dítě se jménem Anička už v seznamu je."}));
        boxes.reset();

        // Tomáš: no counts, the design list; a wrong answer and his settings.
        WhenModal("chooser", Is(Vyberdite), [](QWidget*) { Key(Qt::Key_2, Qt::AltModifier); });
        Form1->dite->trigger();
        QCOMPARE(Form1->windowTitle(), QStringLiteral("Zirmon 4.0 – Tomáš"));
        QCOMPARE(GetCell(Form1->vysl, 2, 1), CellText(0));
        QTest::mouseClick(Form1->scitan, Qt::LeftButton);
        QVERIFY(!Form1->dite->isEnabled());
        AnswerProblem(2, 3, "4");
        QTest::mouseClick(Form1->konec, Qt::LeftButton);
        QVERIFY(Form1->dite->isEnabled());
        Open([] {
            ShowPage(PageGeneral);
            Click(setpoc->okna);
            Click(setpoc->OKBtn);
        });
        const QString tomas = data + "deti/2/";
        const QByteArray settings =
            SavedFile("1000", "1000", "1111111111", "1111111111", "1101", false);
        const QByteArray his = "[Tabulka]\r\nOKscit=0\r\nKOscit=1\r\nOKodcit=0\r\nKOodcit=0\r\n"
                               "OKnas=0\r\nKOnas=0\r\nOKdele=0\r\nKOdele=0\r\nOKcelk=0\r\n"
                               "KOcelk=1\r\n" +
                               settings.left(settings.indexOf("[joheslo]"));
        QCOMPARE(ReadAll(tomas + "zirmon.ini"), his);
        const QByteArray list =
            "                \r\n       \x8apatn\xec vypo\xe8\xedtan\xe9 p\xf8\xedklady  \r\n"
            "    \r\n2  +     3    =    4\r\n";
        QCOMPARE(ReadAll(tomas + "priklad.dat"), list);
        // The family's keys stay in the data folder's own file.
        QCOMPARE(ReadAll(Ini()),
                 QByteArray(
                     "[Tabulka]\r\nOKscit=3\r\n[joheslo]\r\nhsl=0\r\n[PASSWD]\r\nUSRPASSWD=\r\n"));
        QVERIFY(!QFileInfo::exists(data + "priklad.dat"));

        // Nobody has the focus, though Tomáš practised last; Down, Enter: Anička.
        WhenModal("chooser", Is(Vyberdite), [](QWidget*) {
            if (Vyberdite->dite1->text() != QStringLiteral("&1  Anička") ||
                FocusName() != "Vyberdite")
                Failures << "chooser: " + Vyberdite->dite1->text() + ", " + FocusName();
            Key(Qt::Key_Down);
            Key(Qt::Key_Return);
        });
        Form1->dite->trigger();
        QCOMPARE(GetCell(Form1->vysl, 2, 1), CellText(3));
        QVERIFY(setpoc->okna->isChecked()); // his is off
        QCOMPARE(vyslForm->ListText(), DesignListText());
        // Her reset clears her counts and list only.
        QTest::mouseClick(Form1->nuluj, Qt::LeftButton);
        QCOMPARE(ReadAll(data + "priklad.dat"), Cp1250(ClearedListText()));
        QCOMPARE(ReadAll(Ini()),
                 "[Tabulka]\r\nOKscit=0\r\nKOscit=0\r\nOKodcit=0\r\nKOodcit=0\r\n"
                 "OKnas=0\r\nKOnas=0\r\nOKdele=0\r\nKOdele=0\r\nOKcelk=0\r\nKOcelk=0\r\n"
                 "[joheslo]\r\nhsl=0\r\n[PASSWD]\r\nUSRPASSWD=\r\n");

        // Tomáš removed: his files go aside whole, the family is one child again.
        QStringList asked;
        Open([&] {
            ShowPage(PageChildren);
            setpoc->seznamDeti->setFocus();
            Key(Qt::Key_End);
            AnswerNextBox(&asked);
            Key(Qt::Key_B, Qt::AltModifier);
            QTRY_VERIFY(!QFileInfo::exists(Home.dataDir() + "rodina.ini"));
            Click(setpoc->CancelBtn);
        });
        const QString aside = data + "deti/odebrane/3/";
        QCOMPARE(asked.value(0),
                 "Zirmon|Opravdu odebrat dítě Tomáš? Jeho počty a chyby se přesunou do složky " +
                     QDir::toNativeSeparators(aside) + ".");
        QCOMPARE(ReadAll(aside + "priklad.dat"), list);
        QCOMPARE(ReadAll(aside + "zirmon.ini"), his);
        QVERIFY(!QFileInfo::exists(tomas));
        QVERIFY(!QFileInfo::exists(data + "rodina.ini"));
        QCOMPARE(Form1->windowTitle(), QStringLiteral("Zirmon 4.0"));
        QVERIFY(!Form1->dite->isVisible());
        Clock = realClock;
    }

    // Removing the first child moves the data folder's files (settings,
    // list, journal) aside and brings the next child's there, under the
    // family's password and place.
    void removingTheFirstChild() {
        const QString data = Home.dataDir();
        const QByteArray hers = "[Tabulka]\r\nOKscit=3\r\n[PASSWD]\r\nUSRPASSWD=heslo\r\n"
                                "[Ploha]\r\nX=20\r\ny=30\r\n";
        DestroyWindows();
        QDir(data).removeRecursively();
        WriteAll(Ini(), hers);
        WriteAll(data + "priklad.dat", "jeji\r\n");
        WriteAll(data + "deti/2/zirmon.ini", "[Tabulka]\r\nOKnas=4\r\n");
        WriteAll(data + "deti/2/priklad.dat", "jeho\r\n");
        WriteAll(data + "denik.csv", "jeji denik\r\n");
        WriteAll(data + "deti/2/denik.csv", "jeho denik\r\n");
        WriteAll(data + "rodina.ini", "[Rodina]\r\ndalsi=3\r\nposledni=0\r\n"
                                      "dite=0 Anička\r\ndite=2 Tomáš\r\n");
        Restart();
        QStringList asked;
        Open([&] {
            ShowPage(PageChildren);
            setpoc->seznamDeti->setFocus();
            Key(Qt::Key_Home);
            AnswerNextBox(&asked);
            Key(Qt::Key_B, Qt::AltModifier);
            QTRY_VERIFY(!QFileInfo::exists(data + "rodina.ini"));
            Click(setpoc->CancelBtn);
        });
        QCOMPARE(asked.size(), 1);
        const QString aside = data + "deti/odebrane/3/";
        QCOMPARE(ReadAll(aside + "zirmon.ini"), hers);
        QCOMPARE(ReadAll(aside + "priklad.dat"), QByteArray("jeji\r\n"));
        QCOMPARE(ReadAll(aside + "denik.csv"), QByteArray("jeji denik\r\n"));
        QCOMPARE(ReadAll(data + "denik.csv"), QByteArray("jeho denik\r\n"));
        QCOMPARE(ReadAll(Ini()),
                 QByteArray("[Tabulka]\r\nOKnas=4\r\n[PASSWD]\r\nUSRPASSWD=heslo\r\n"
                            "[Ploha]\r\nX=20\r\ny=30\r\n"));
        QCOMPARE(ReadAll(data + "priklad.dat"), QByteArray("jeho\r\n"));
        QVERIFY(!QFileInfo::exists(data + "deti/2"));
        QCOMPARE(GetCell(Form1->vysl, 2, 3), CellText(4));
        QCOMPARE(GetCell(Form1->vysl, 2, 1), CellText(0));
        QCOMPARE(Form1->windowTitle(), QStringLiteral("Zirmon 4.0"));
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_setpoc.moc"
