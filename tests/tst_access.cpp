// Screen readers and the keyboard: every control of every window has a name
// a screen reader can speak, and every action of the program is reached from
// the keyboard alone.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "store/DataDir.h"
#include "store/IntText.h"
#include "store/ListFile.h"
#include "windows/About.h"
#include "windows/Cells.h"
#include "windows/Histr.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Man.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/Speak.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QAccessible>
#include <QDir>
#include <QMenu>
#include <QSet>
#include <QStackedWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtTest>

namespace {

// What the window designs made: widgets and menu items with names of their
// own. Qt's inner parts are named "qt_..." or not at all.
bool Designed(const QObject* object) {
    return object && !object->objectName().isEmpty() &&
           !object->objectName().startsWith(QLatin1String("qt_"));
}

// Shows nothing and takes no input, so there is nothing to speak: the main
// window's client area (the reader speaks the window itself), a plain frame
// without contents, a label without text or picture.
bool Decoration(const QObject* object) {
    const auto* w = qobject_cast<const QWidget*>(object);
    if (!w)
        return false;
    if (const auto* main = qobject_cast<const QMainWindow*>(w->window()))
        if (main->centralWidget() == w)
            return true;
    if (w->metaObject() == &QFrame::staticMetaObject && w->findChildren<QWidget*>().isEmpty())
        return true;
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text().isEmpty() && label->pixmap().isNull();
    return false;
}

struct TWalk {
    QStringList Unnamed;
    QSet<const QObject*> Seen;
    int Nodes = 0;
};

// Visits the accessibility tree as a screen reader does, from the window
// down through every child.
void Walk(QAccessibleInterface* node, const QString& path, TWalk& walk) {
    QObject* object = node->object();
    const QString where =
        path + QLatin1Char('/') +
        (object && !object->objectName().isEmpty() ? object->objectName()
                                                   : QString::number(int(node->role())));
    ++walk.Nodes;
    if (object)
        walk.Seen.insert(object);
    // A control is a part of the designs or anything that takes the focus;
    // the cells of a grid have no object and are spoken through the grid.
    const bool control = Designed(object) || (object && node->state().focusable);
    if (control && !Decoration(object) && node->text(QAccessible::Name).trimmed().isEmpty())
        walk.Unnamed << where;
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i))
            Walk(child, where, walk);
}

QString Name(QObject* object) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
    return node ? node->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

void ShowWindow(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// The controls the Tab key must reach now: shown, enabled, taking the focus
// by Tab.
QSet<QWidget*> TabStops(QWidget* window) {
    QSet<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->window() == window && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && Designed(w))
            // The notebook passes the focus on to its row of tabs.
            stops.insert(w->focusProxy() ? w->focusProxy() : w);
    return stops;
}

// One row for each window, two for the main window's layouts.
void EveryWindow() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("problem");
    QTest::newRow("main window, idle") << "Form1" << false;
    QTest::newRow("main window, problem") << "Form1" << true;
    for (const char* name :
         {"setpoc", "AboutBox", "hist", "manual", "PasswordDlg", "PasswordDlg1", "vyslForm"})
        QTest::newRow(name) << name << false;
}

// What a screen reader hears: messages (announcements, or notifications
// coming into view), the objects of focus events, the names of changed cells.
QStringList Said;
QList<QObject*> FocusEvents;
QStringList CellsChanged;
void Hear(QAccessibleEvent* event) {
    switch (event->type()) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    case QAccessible::Announcement:
        Said << static_cast<QAccessibleAnnouncementEvent*>(event)->message();
        break;
#endif
    case QAccessible::ObjectShow:
        if (QAccessibleInterface* node = event->accessibleInterface();
            node && node->role() == QAccessible::Notification)
            Said << node->text(QAccessible::Name);
        break;
    case QAccessible::Focus:
        FocusEvents << event->object();
        break;
    case QAccessible::NameChanged:
        if (QAccessibleInterface* node = event->accessibleInterface();
            node && node->role() == QAccessible::Cell)
            CellsChanged << node->text(QAccessible::Name);
        break;
    default:
        break;
    }
}

QStringList Names(const QSet<QWidget*>& widgets) {
    QStringList names;
    for (const QWidget* w : widgets)
        names << w->objectName();
    names.sort();
    return names;
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT

    TTempHome Home;
    TFakeClock FakeClock;

    // The offscreen platform has no window manager to hand the activation
    // back to the main window when a window on top of it closes.
    static bool BackToMain() {
        if (!Form1->isActiveWindow())
            Form1->activateWindow();
        return QTest::qWaitForWindowActive(Form1);
    }

private Q_SLOTS:
    void initTestCase() {
        Clock = &FakeClock;
        SoundPlayer = nullptr;
        // As when a screen reader listens.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler(&Hear);
    }
    void init() {
        Said.clear();
        FocusEvents.clear();
        CellsChanged.clear();
        PracticeState = TPracticeState{};
        QDir(Home.dataDir()).removeRecursively();
        // The list window reads its file when shown.
        SaveListFile(GetListPath(), DesignListText());
        CreateWindows();
        QVERIFY(ShowMainWindow());
    }
    void cleanup() {
        StopWaiting();
        DestroyWindows();
        QVERIFY2(Failures.isEmpty(), qPrintable(Failures.join(QLatin1Char('\n'))));
    }

    void everyControlHasAName_data() { EveryWindow(); }
    void everyControlHasAName() {
        QFETCH(QString, window);
        QFETCH(bool, problem);
        QWidget* w = WindowNamed(window);
        QVERIFY(w);
        if (problem)
            Form1->scitanClick();
        ShowWindow(w);
        TWalk walk;
        Walk(QAccessible::queryAccessibleInterface(w), window, walk);
        QVERIFY2(walk.Unnamed.isEmpty(),
                 qPrintable(QStringLiteral("without a name: ") + walk.Unnamed.join(", ")));
        // The walk saw every control of the design, so none is out of the
        // readers' reach.
        QStringList unseen;
        for (QObject* o : w->findChildren<QObject*>())
            if (Designed(o) && (o->isWidgetType() || qobject_cast<QAction*>(o)) &&
                !walk.Seen.contains(o))
                unseen << o->objectName();
        QVERIFY2(unseen.isEmpty(), qPrintable(QStringLiteral("unseen: ") + unseen.join(", ")));
        QVERIFY(walk.Nodes > 3);
        if (w != Form1)
            w->hide();
    }

    void pictureButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("name");
        QTest::newRow("nasob") << "nasob"
                               << "Násobení";
        QTest::newRow("delen") << "delen"
                               << "Dělení";
        QTest::newRow("scitan") << "scitan"
                                << "Sčítání";
        QTest::newRow("ocitan") << "ocitan"
                                << "Odčítání";
    }
    void pictureButtons() {
        QFETCH(QString, button);
        QFETCH(QString, name);
        auto* b = Form1->findChild<QPushButton*>(button);
        QVERIFY(b);
        QVERIFY(b->text().isEmpty()); // still a picture only
        QVERIFY(!b->icon().isNull());
        QCOMPARE(Name(b), name);
        QCOMPARE(b->toolTip(), name);
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(b);
        QCOMPARE(node->role(), QAccessible::Button);
        QVERIFY(node->actionInterface());
        QVERIFY(node->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
    }

    void spokenNames_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        // Text fields are named after the label above them.
        QTest::newRow("old password") << "PasswordDlg"
                                      << "PASS"
                                      << "Zadejte staré heslo:";
        QTest::newRow("new password") << "PasswordDlg"
                                      << "heslo1"
                                      << "Zadejte nové heslo:";
        QTest::newRow("new password again") << "PasswordDlg"
                                            << "heslo2"
                                            << "Zdejte nové hoslo znovu:";
        QTest::newRow("gate password") << "PasswordDlg1"
                                       << "Password"
                                       << "Vložte heslo:";
        QTest::newRow("answer field") << "Form1"
                                      << "vy"
                                      << "Výsledek";
        QTest::newRow("tally grid") << "Form1"
                                    << "vysl"
                                    << "Tabulka výsledků";
        QTest::newRow("totals row") << "Form1"
                                    << "celk"
                                    << "Celkem";
        QTest::newRow("notebook") << "setpoc"
                                  << "scitan"
                                  << "Stránky nastavení";
        QTest::newRow("page of addition") << "setpoc"
                                          << "TabSheet1"
                                          << "Sčítání";
        QTest::newRow("page in general") << "setpoc"
                                         << "TabSheet5"
                                         << "Obecné";
        QTest::newRow("group box") << "setpoc"
                                   << "GroupBox2"
                                   << "Ochrana vynulování";
        QTest::newRow("list") << "vyslForm"
                              << "Memo1"
                              << "Špatně vypočítané příklady";
        QTest::newRow("history") << "hist"
                                 << "Memo1"
                                 << "Historie programu";
        QTest::newRow("manual") << "manual"
                                << "Memo1"
                                << "Manuál k programu Zirmon";
        QTest::newRow("program picture") << "AboutBox"
                                         << "ProgramIcon"
                                         << "Obrázek programu Zirmon";
        QTest::newRow("range of addition") << "setpoc"
                                           << "scitdodes"
                                           << "Sčítání do 10";
        QTest::newRow("range of subtraction") << "setpoc"
                                              << "odcitdosta"
                                              << "Odčítání do 100";
        QTest::newRow("range without crossing") << "setpoc"
                                                << "odcitbezpr"
                                                << "Odčítání do 20 bez přechodu";
        QTest::newRow("page container") << "setpoc"
                                        << "qt_tabwidget_stackedwidget"
                                        << "Obecné";
        // Captions speak without their accelerator mark.
        QTest::newRow("reset button") << "Form1"
                                      << "nuluj"
                                      << "Vynulovat";
    }
    void spokenNames() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        QWidget* w = WindowNamed(window);
        QVERIFY(w);
        QObject* c = w->findChild<QObject*>(control);
        QVERIFY(c);
        QCOMPARE(Name(c), name);
    }

    // Tab, and Ctrl+Tab for the pages of a notebook, reach every control
    // that takes the focus.
    void tabReachesEveryControl_data() { EveryWindow(); }
    void tabReachesEveryControl() {
        QFETCH(QString, window);
        QFETCH(bool, problem);
        QWidget* w = WindowNamed(window);
        QVERIFY(w);
        if (problem)
            Form1->scitanClick();
        ShowWindow(w);
        auto* notebook = w->findChild<QTabWidget*>();
        const int pages = notebook ? notebook->count() : 1;
        QSet<QWidget*> expected;
        QSet<QWidget*> reached;
        for (int page = 0; page < pages; ++page) {
            if (page > 0) {
                const int before = notebook->currentIndex();
                Key(Qt::Key_Tab, Qt::ControlModifier);
                QCOMPARE(notebook->currentIndex(), (before + 1) % pages);
            }
            expected += TabStops(w);
            for (int i = 0; i < 60; ++i) {
                Key(Qt::Key_Tab);
                if (QWidget* f = QApplication::focusWidget(); f && f->window() == w)
                    reached.insert(f);
            }
        }
        QVERIFY(!expected.isEmpty());
        const QSet<QWidget*> missed = expected - reached;
        QVERIFY2(missed.isEmpty(),
                 qPrintable(QStringLiteral("not reached: ") + Names(missed).join(", ")));
        if (w != Form1)
            w->hide();
    }

    // The problem, the verdict and the next problem are spoken while the
    // focus stays in the answer field.
    void drillIsSpoken() {
        Form1->scitanClick();
        SetLabelText(Form1->L1, QStringLiteral("7"));
        SetLabelText(Form1->oper, QStringLiteral("x"));
        SetLabelText(Form1->L2, QStringLiteral("3"));
        SpeakProblem();
        QCOMPARE(Said.last(), QStringLiteral("7 krát 3 rovná se"));
        QCOMPARE(QAccessible::queryAccessibleInterface(Form1->vy)->text(QAccessible::Description),
                 QStringLiteral("7 krát 3 rovná se"));
        Form1->scitanClick();
        Said.clear();
        AnswerProblem(7, 5, "12");
        AnswerProblem(2, 2, "5");
        QCOMPARE(Said.size(), 4);
        QCOMPARE(Said.at(0), QStringLiteral("Správně"));
        QCOMPARE(Said.at(2), QStringLiteral("Špatně. 2 plus 2 rovná se 4"));
        for (const int i : {1, 3})
            QVERIFY2(QRegularExpression("^\\d+ plus \\d+ rovná se$").match(Said.at(i)).hasMatch(),
                     qPrintable(Said.at(i)));
        QCOMPARE(FocusName(), QStringLiteral("vy"));
    }

    // The tally grid reads as a table with its titles as headers; a changed
    // count is told on its cell; the totals are read with the grid.
    void tallyGridIsATable() {
        Form1->scitanClick();
        AnswerProblem(7, 5, "12");
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(Form1->vysl)->tableInterface();
        QVERIFY(table);
        QAccessibleInterface* cell = table->cellAt(1, 2);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Sčítání, Dobře, 1"));
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        // Qt hands out header cells without keeping them; the bus bridge
        // gives each to Qt's cache (by asking its id), and so does the test.
        auto header = [](const QList<QAccessibleInterface*>& cells) {
            for (QAccessibleInterface* each : cells)
                QAccessible::uniqueId(each);
            return cells.value(0)->text(QAccessible::Name);
        };
        QCOMPARE(header(place->columnHeaderCells()), QStringLiteral("Dobře"));
        QCOMPARE(header(place->rowHeaderCells()), QStringLiteral("Sčítání"));
        QCOMPARE(table->cellAt(4, 3)->text(QAccessible::Name), QStringLiteral("Dělení, Špatně, 0"));
        QVERIFY(CellsChanged.contains(QStringLiteral("Sčítání, Dobře, 1")));
        QVERIFY(CellsChanged.contains(QStringLiteral("Celkem, Dobře, 1")));
        QCOMPARE(QAccessible::queryAccessibleInterface(Form1->vysl)->text(QAccessible::Description),
                 QStringLiteral("Celkem: Dobře 1, Špatně 0"));
    }

    // The list is read line by line.
    void listReadsByLines() {
        vyslForm->Memo1->SetText(QStringLiteral("  Špatně  \r\n7  +  5 =  13\r\n"));
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(vyslForm->Memo1)->textInterface();
        QVERIFY(text);
        QCOMPARE(text->characterCount(), 25);
        QCOMPARE(text->text(0, 25), QStringLiteral("  Špatně  \n7  +  5 =  13\n"));
        int start = -1, end = -1;
        QCOMPARE(text->textAtOffset(12, QAccessible::LineBoundary, &start, &end).trimmed(),
                 QStringLiteral("7  +  5 =  13"));
        QCOMPARE(start, 11);
        text->setCursorPosition(11);
        QCOMPARE(text->cursorPosition(), 11);
    }

    // Focus events name the control the focus stays in; the dialog's
    // status texts are spoken.
    void passwordDialogTellsTheTruth() {
        PracticeState.StoredPassword.clear();
        bool done = false;
        WhenModal("password dialog", Is(PasswordDlg), [&](QWidget*) {
            Type("ab");
            Key(Qt::Key_Tab);
            Type("xy");
            Key(Qt::Key_Tab);
            QTest::qWait(20);
            done = FocusEvents.last() == PasswordDlg->heslo2 && FocusName() == "heslo2" &&
                   Said.last() == "Druhé zadání hesla se s prvním neshoduje!";
            PasswordDlg->heslo2->clear();
            Type("ab");
            Key(Qt::Key_Tab);
            QTest::qWait(20);
            done = done && FocusEvents.last() == PasswordDlg->OKBtn && FocusName() == "OKBtn" &&
                   Said.last() == "Druhé zadání hesla se shoduje s prvním. OK";
            Key(Qt::Key_Escape);
        });
        PasswordDlg->exec();
        QVERIFY(done);
    }

    // The protection is switched off by a reader's actions only through the
    // gate; no box names a key it does not have.
    void settingsForReaders() {
        PracticeState.StoredPassword = QStringLiteral("tajne");
        setpoc->joheslo->setChecked(true);
        bool asked = false;
        WhenModal("password gate", Is(PasswordDlg1), [&](QWidget*) {
            asked = true;
            Key(Qt::Key_Escape);
        });
        QAccessibleActionInterface* box =
            QAccessible::queryAccessibleInterface(setpoc->joheslo)->actionInterface();
        box->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_VERIFY(asked);
        QVERIFY(setpoc->joheslo->isChecked());
        QAccessibleActionInterface* mix =
            QAccessible::queryAccessibleInterface(setpoc->okod)->actionInterface();
        QCOMPARE(mix->keyBindingsForAction(QAccessibleActionInterface::pressAction()).join(""),
                 QString());
    }

    // The drill and every menu item, the settings, the list, the reset and
    // the end, from the keyboard alone.
    void keyboardOnly() {
        // The reset asks for the password.
        DestroyWindows();
        WriteAll(GetIniPath(), "[joheslo]\r\nhsl=1\r\n");
        CreateWindows();
        QVERIFY(ShowMainWindow());
        QVERIFY(setpoc->joheslo->isChecked());

        QCOMPARE(FocusName(), QStringLiteral("nasob"));
        Key(Qt::Key_Tab);
        Key(Qt::Key_Tab);
        QCOMPARE(FocusName(), QStringLiteral("scitan"));
        // Enter presses the focused button, as Space does.
        Key(Qt::Key_Return);
        QVERIFY(PracticeState.OpAdd);
        QVERIFY(Form1->vy->isVisible());
        QCOMPARE(FocusName(), QStringLiteral("vy"));
        Type(QString::number(PracticeState.Operand1 + PracticeState.Operand2));
        Key(Qt::Key_Return);
        QCOMPARE(PracticeState.OkAdd, 1);
        QCOMPARE(FocusName(), QStringLiteral("vy"));
        Type(QStringLiteral("999"));
        Key(Qt::Key_Return);
        QCOMPARE(PracticeState.BadAdd, 1);
        // "Konec počítání" stands just before the answer field.
        Key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(FocusName(), QStringLiteral("konec"));
        Key(Qt::Key_Space);
        QVERIFY(!Form1->vy->isVisible());
        QVERIFY(Form1->nast->isEnabled());

        // Alt+N: the settings, on OK; Ctrl+Tab and Ctrl+Shift+Tab turn the
        // pages from there, Esc leaves.
        bool settings = false;
        WhenModal("settings dialog", Is(setpoc), [&](QWidget*) {
            const int page = setpoc->scitan->currentIndex();
            const int pages = setpoc->scitan->count();
            settings = FocusName() == QLatin1String("OKBtn");
            Key(Qt::Key_Tab, Qt::ControlModifier);
            settings = settings && setpoc->scitan->currentIndex() == (page + 1) % pages;
            Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            settings = settings && setpoc->scitan->currentIndex() == (page + pages - 1) % pages;
            Key(Qt::Key_Escape);
        });
        Key(Qt::Key_N, Qt::AltModifier);
        QVERIFY(settings);
        QVERIFY(!setpoc->isVisible());
        QVERIFY(BackToMain());

        // Alt+O opens "O programu" on its first item, "Informace"; Enter
        // opens the About window, Esc closes it.
        bool about = false;
        WhenModal("About window", Is(AboutBox), [&](QWidget*) {
            about = FocusName() == QLatin1String("OKButton");
            Key(Qt::Key_Escape);
        });
        Key(Qt::Key_O, Qt::AltModifier);
        QVERIFY(QApplication::activePopupWidget() == Form1->Oprogramu1);
        QCOMPARE(Form1->Oprogramu1->activeAction(), Form1->informace1);
        Key(Qt::Key_Return);
        QVERIFY(about);
        QVERIFY(!AboutBox->isVisible());
        QVERIFY(BackToMain());

        // Down to "Manuál": the manual window, which Enter on its OK closes.
        Key(Qt::Key_O, Qt::AltModifier);
        QVERIFY(QApplication::activePopupWidget() == Form1->Oprogramu1);
        Key(Qt::Key_Down);
        QCOMPARE(Form1->Oprogramu1->activeAction(), Form1->Manul1);
        Key(Qt::Key_Return);
        QVERIFY(QTest::qWaitForWindowActive(manual));
        QCOMPARE(FocusName(), QStringLiteral("BitBtn1"));
        Key(Qt::Key_Return);
        QVERIFY(!manual->isVisible());
        QVERIFY(BackToMain());

        // "Příklady" has no accelerator: Alt+O, then Right along the menu
        // bar, then Enter. The list shows the wrong answer; Esc closes it.
        bool list = false;
        WhenModal("list window", Is(vyslForm), [&](QWidget*) {
            list = vyslForm->ListText().contains(QStringLiteral("=    999"));
            Key(Qt::Key_Escape);
        });
        Key(Qt::Key_O, Qt::AltModifier);
        Key(Qt::Key_Right);
        QCOMPARE(Form1->MainMenu1->activeAction(), Form1->Pklady1);
        Key(Qt::Key_Return);
        QVERIFY(list);
        QVERIFY(!vyslForm->isVisible());
        QVERIFY(BackToMain());
        // The focus is back where it was, not left on the menu bar.
        QCOMPARE(FocusName(), QStringLiteral("nasob"));

        // Alt+V: the reset, through the password gate (no password is
        // stored, so Enter on the empty field lets it through). A button's
        // Alt key clicks it a moment later, as a mouse click would look.
        bool gate = false;
        WhenModal("password gate", Is(PasswordDlg1), [&](QWidget*) {
            gate = FocusName() == QLatin1String("Password");
            Key(Qt::Key_Return);
        });
        Key(Qt::Key_V, Qt::AltModifier);
        QTRY_VERIFY(gate);
        QCOMPARE(PracticeState.OkAdd, 0);
        QCOMPARE(PracticeState.BadAdd, 0);
        QCOMPARE(GetCell(Form1->celk, 3, 0), CellText(0));
        QVERIFY(BackToMain());

        // Alt+K: the end, with the window position stored.
        Key(Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(!Form1->isVisible());
        QVERIFY(ReadAll(GetIniPath()).contains("[Ploha]"));
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
