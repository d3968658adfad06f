// The About, history and manual windows.
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/PracticeState.h"
#include "windows/About.h"
#include "windows/Histr.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Man.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

class TestInfo : public QObject {
    Q_OBJECT

    TTempHome Home;

    void Start() {
        CreateWindows();
        QVERIFY(ShowMainWindow());
    }
    // Runs step while the modal About window is open, then closes it.
    template <typename Step> void WithAboutOpen(Step step) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(QTest::qWaitForWindowActive(AboutBox));
            step();
            ran = true;
            AboutBox->OKButton->click();
        });
        Form1->informace1->trigger();
        QVERIFY(ran);
    }

private Q_SLOTS:
    void init() {
        PracticeState = TPracticeState{};
        QDir(Home.dataDir()).removeRecursively();
    }
    void cleanup() { DestroyWindows(); }

    // The texts are read when their window first opens, and stay.
    void textsComeWithTheFirstShowing() {
        CreateWindows();
        for (QDialog* window : {static_cast<QDialog*>(hist), static_cast<QDialog*>(manual)}) {
            auto* box = window->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
            QVERIFY(box->toPlainText().isEmpty());
            window->show();
            QVERIFY(box->toPlainText().startsWith(window == hist ? "Zirmon 4.0" : "Po stisknutí"));
            const QString shown = box->toPlainText();
            window->hide();
            window->show();
            QCOMPARE(box->toPlainText(), shown);
            window->hide();
        }
    }

    void texts_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("longest");
        QTest::addColumn<int>("blocks");
        QTest::newRow("history") << ":/texts/history.txt" << 40 << 39 << 5;
        QTest::newRow("manual") << ":/texts/manual.txt" << 21 << 57 << 3;
    }
    void texts() {
        QFETCH(QString, path);
        QFETCH(int, lines);
        QFETCH(int, longest);
        QFETCH(int, blocks);
        QStringList all = ResourceText(path).split('\n');
        QCOMPARE(all.takeLast(), QString()); // ends with a line break
        QCOMPARE(all.size(), lines);
        for (const QString& line : all)
            QVERIFY2(line.size() <= longest, qPrintable(line));
        QCOMPARE(all.count(QString()) + 1, blocks);
        if (path.contains("history")) {
            QStringList headings;
            for (int i = 0; i < all.size(); ++i)
                if (i == 0 || all.at(i - 1).isEmpty())
                    headings << all.at(i);
            QCOMPARE(headings, (QStringList{"Zirmon 4.0", "Zirmon ver. 3.1", "Zirmon ver. 3.0",
                                            "Zirmon ver 2.0", "Zirmon ver 1.0"}));
            for (const QString& line : all)
                QVERIFY2(line.isEmpty() || headings.contains(line) || line.startsWith("- ") ||
                             line.startsWith("  "),
                         qPrintable(line));
        }
    }

    void windowsAtTheirPlaces() {
        WriteAll(Home.dataDir() + "zirmon.ini", "[Ploha]\r\nX=200\r\ny=150\r\n");
        Start();
        // Moving the main window does not move the others' places.
        Form1->move(20, 20);
        QCOMPARE(hist->pos(), QPoint(300, 250));
        QCOMPARE(manual->pos(), QPoint(200, 150));
        WithAboutOpen([] {
            QCOMPARE(AboutBox->pos(), QPoint(300, 250));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(AboutBox->OKButton));
        });
        QCOMPARE(AboutBox->windowTitle(), QStringLiteral("Informace o programu"));
        QCOMPARE(AboutBox->ProductName->text(), QStringLiteral("Zirmon  4.0"));
        QCOMPARE(AboutBox->size(), QSize(298, 213));
    }

    void aboutReturnsToItsPlace() {
        Start();
        WithAboutOpen([] {
            AboutBox->move(10, 10);
            QTest::mouseClick(AboutBox->Button1, Qt::LeftButton);
            QVERIFY(QTest::qWaitForWindowActive(hist));
            AboutBox->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(AboutBox));
            QTRY_COMPARE(AboutBox->pos(), QPoint(436, 236));
        });
    }

    void historyOutlivesAbout() {
        Start();
        WithAboutOpen([] {
            QTest::mouseClick(AboutBox->Button1, Qt::LeftButton);
            QVERIFY(hist->isVisible());
            // The history window takes input beside the modal About window.
            hist->Memo1->verticalScrollBar()->setValue(0);
            QTest::keyClick(hist->Memo1, Qt::Key_PageDown);
            QVERIFY(hist->Memo1->verticalScrollBar()->value() > 0);
        });
        QVERIFY(!AboutBox->isVisible());
        QVERIFY(hist->isVisible());
        // The main window takes input again.
        QTest::mouseClick(Form1->nasob, Qt::LeftButton);
        QVERIFY(Form1->vy->isVisible());
    }

    void manualTwiceKeepsItsScroll() {
        Start();
        Form1->Manul1->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(manual));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(manual->BitBtn1));
        QScrollBar* bar = manual->Memo1->verticalScrollBar();
        manual->resize(412, 200); // small enough to scroll
        bar->setValue(bar->maximum());
        const int scrolled = bar->value();
        Form1->Manul1->trigger();
        QCOMPARE(bar->value(), scrolled);
        QCOMPARE(QApplication::topLevelWidgets().count(manual), 1);
        // Enter on the focused OK button closes the manual window.
        manual->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(manual));
        manual->BitBtn1->setFocus();
        QTest::keyClick(manual->BitBtn1, Qt::Key_Return);
        QVERIFY(!manual->isVisible());
        // The main window stays usable beside it.
        Form1->Manul1->trigger();
        QTest::mouseClick(Form1->scitan, Qt::LeftButton);
        QVERIFY(Form1->vy->isVisible());
    }

    // The panel's edge: lowered outside, raised inside.
    void panelBevels() {
        Start();
        WithAboutOpen([] {
            const QImage panel = AboutBox->Panel1->grab().toImage();
            const QRgb dark = AboutBox->Panel1->palette().color(QPalette::Dark).rgb();
            const QRgb light = AboutBox->Panel1->palette().color(QPalette::Light).rgb();
            const int w = panel.width() - 1, h = panel.height() - 1;
            // Left, top, right, bottom edge of each bevel.
            for (const int in : {0, 1})
                QCOMPARE(QList<QRgb>({panel.pixel(in, h / 2), panel.pixel(w / 2, in),
                                      panel.pixel(w - in, h / 2), panel.pixel(w / 2, h - in)}),
                         in ? QList<QRgb>({light, light, dark, dark})
                            : QList<QRgb>({dark, dark, light, light}));
        });
    }

    void enterOnHistoryButtonOpensHistory() {
        Start();
        WithAboutOpen([] {
            AboutBox->Button1->setFocus();
            QTest::keyClick(AboutBox->Button1, Qt::Key_Return);
            QVERIFY(AboutBox->isVisible());
            QVERIFY(hist->isVisible());
        });
    }

    void enterInTheHistoryTextDoesNothing() {
        Start();
        hist->show();
        hist->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(hist));
        hist->Memo1->setFocus();
        QTest::keyClick(hist->Memo1, Qt::Key_Return);
        QVERIFY(hist->isVisible());
        QTest::mouseClick(hist->BitBtn1, Qt::LeftButton);
        QVERIFY(!hist->isVisible());
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
