// Opens each window of the program and both layouts of the main window, and
// writes one PNG per window into the folder given as the first argument.
// Run it through tools/screenshots.sh, which gives it a temporary data
// folder and an X server of its own.
#include "app/Zirmon.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/Journal.h"
#include "store/ListFile.h"
#include "windows/About.h"
#include "windows/Histr.h"
#include "windows/Mainzirm.h"
#include "windows/Man.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/Pokrok.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {
bool Shoot(QWidget* window, const QString& folder, const char* name) {
    window->show();
    window->raise();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    QTest::qWait(200);
    const QString path = folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    // A message box would wait for a click for ever: say what it says and close it.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &app, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "message box: %s\n", qPrintable(box->text()));
            box->accept();
        }
    });
    watchdog.start(300);
    // A list with a few wrong answers, as after a practice.
    SaveListFile(GetListPath(), DesignListText() + QStringLiteral("7   *    3    =    20\r\n"
                                                                  "24   :     4    =    5\r\n"
                                                                  "9    -   2    =    6\r\n"));
    // Two weeks of a journal: the tables of 2 to 5, a few slips, most of
    // them mended on later days.
    for (int day = 0; day < 14; ++day) {
        const QDate date = QDate(2026, 11, 2).addDays(day);
        for (int i = 0; i < 12 + 3 * (day % 4); ++i) {
            const int b = 2 + (day + i) % 4;
            const int a = (i * 7 + day) % 11;
            const bool right = (i + day) % 6 != 0;
            AppendJournal(GetJournalPath(), TJournalEntry{date, QTime(16, 0).addSecs(i * 9),
                                                          TOperation::Multiplication, a, b,
                                                          QString::number(a * b + (right ? 0 : 1)),
                                                          right, 1500 + 400 * ((i * 5 + day) % 9)});
        }
    }
    CreateWindows();
    bool ok = Shoot(Form1, folder, "Form1-idle");
    // A division answered right, as the verdict on it says.
    Form1->delenClick();
    Form1->vy->setText(QString::number(PracticeState.Operand1 / PracticeState.Operand2));
    Form1->spravne->show();
    ok = Shoot(Form1, folder, "Form1-problem") && ok;
    Form1->konecClick();
    ok = Shoot(setpoc, folder, "setpoc") && ok;
    setpoc->hide();
    for (auto [window, name] : {std::pair<QWidget*, const char*>{AboutBox, "AboutBox"},
                                {hist, "hist"},
                                {manual, "manual"},
                                {PasswordDlg, "PasswordDlg"},
                                {PasswordDlg1, "PasswordDlg1"},
                                {vyslForm, "vyslForm"}}) {
        ok = Shoot(window, folder, name) && ok;
        window->hide();
    }
    for (int k = 1; k <= 10; ++k)
        PracticeState.MulTable[k] = k >= 2 && k <= 5;
    Form1->pokrokClick();
    ok = Shoot(Pokrok, folder, "Pokrok-dny") && ok;
    Pokrok->stranky->setCurrentWidget(Pokrok->nasobeni);
    ok = Shoot(Pokrok, folder, "Pokrok-nasobeni") && ok;
    Pokrok->hide();
    DestroyWindows();
    return ok ? 0 : 1;
}
