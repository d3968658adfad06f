// How long big and odd data files take, met through the program's windows
// (offscreen, no pause, no sound): a 50 MB settings file at start-up, at
// "Konec počítání" and at the settings dialog's OK; lines of 1 MB; a 50 MB
// list file read, shown and saved; a pipe and a link to a folder in the
// settings file's place. One run of each, as they are slow by nature; run
// it with QT_QPA_PLATFORM=offscreen build/bench/bench_hostile [MB].
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/Facts.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "store/DataDir.h"
#include "store/Journal.h"
#include "store/ListFile.h"
#include "store/ProfileFile.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Vyslf.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QtTest>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TTempHome* Home = nullptr;

QString Ini() {
    return Home->dataDir() + "zirmon.ini";
}
QString List() {
    return Home->dataDir() + "priklad.dat";
}

long PeakKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void Time(const char* what, const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    step();
    std::printf("%-62s %10.1f ms   (peak memory so far %ld MB)\n", what,
                double(timer.nsecsElapsed()) / 1e6, PeakKb() / 1024);
    std::fflush(stdout);
}

void Fresh() {
    DestroyWindows();
    PracticeState = TPracticeState{};
    QDir(Home->dataDir()).removeRecursively();
    QDir().mkpath(Home->dataDir());
}

void StartWindows() {
    CreateWindows();
    ShowMainWindow();
}

void SettingsFile(const char* name, const QByteArray& bytes, bool dialog) {
    Fresh();
    WriteAll(Ini(), bytes + "[Tabulka]\r\nOKscit=7\r\n");
    std::printf("-- settings file: %s, %.1f MB\n", name, double(bytes.size()) / 1e6);
    Time("start-up (windows created, LoadSettings)", StartWindows);
    Time("one read (TProfileFile::ReadInteger)",
         [] { TProfileFile(Ini()).ReadInteger("Tabulka", "OKscit", 0); });
    Time("one write (TProfileFile::WriteInteger)",
         [] { TProfileFile(Ini()).WriteInteger("Tabulka", "OKscit", 8); });
    Form1->nasob->click();
    AnswerProblem(2, 2, "4");
    Time("\"Konec pocitani\" (SaveTallies: 10 writes)", [] { Form1->konec->click(); });
    if (dialog) {
        Time("settings dialog opened and OK (42 writes, 3 LoadSettings)", [] {
            WhenModal("settings dialog", Is(setpoc), [](QWidget*) { Click(setpoc->OKBtn); });
            Form1->nast->trigger();
        });
    }
}

void ListFile(const char* name, const QByteArray& bytes) {
    Fresh();
    WriteAll(List(), bytes);
    std::printf("-- list file: %s, %.1f MB\n", name, double(bytes.size()) / 1e6);
    Time("LoadListFile alone", [] { LoadListFile(List()); });
    StartWindows();
    Time("list window shown (file read into the text box) and OK (saved)", [] {
        WhenModal("list window", Is(vyslForm), [](QWidget*) { Click(vyslForm->BitBtn1); });
        Form1->Pklady1->trigger();
    });
    Form1->scitan->click();
    Time("one wrong answer (line added, list saved)", [] { AnswerProblem(1, 1, "3"); });
}

void JournalFile(const char* name, const QByteArray& bytes) {
    Fresh();
    WriteAll(GetJournalPath(), bytes);
    std::printf("-- journal: %s, %.1f MB\n", name, double(bytes.size()) / 1e6);
    Time("start-up (windows created, LoadSettings)", StartWindows);
    Form1->nasob->click();
    Time("one answer (journal line appended)", [] { AnswerProblem(2, 2, "4"); });
    Time("ReadFacts (the journal read, every fact derived)", [] { ReadFacts(); });
}

void OddSettingsPath(const char* name, const std::function<void()>& make) {
    Fresh();
    make();
    std::printf("-- settings file: %s\n", name);
    Time("start-up (windows created, LoadSettings)", StartWindows);
    TBoxAnswerer answerer;
    Form1->nasob->click();
    Time("\"Konec pocitani\" refused, error box answered", [] { Form1->konec->click(); });
}

} // namespace

int main(int argc, char* argv[]) {
    TTempHome home;
    Home = &home;
    QApplication application(argc, argv);
    const qsizetype mb = argc > 1 ? QByteArray(argv[1]).toLongLong() : 50;
    TFakeClock noPause;
    Clock = &noPause;
    SoundPlayer = nullptr;
    std::printf("big and odd data files, %lld MB where big\n", static_cast<long long>(mb));

    SettingsFile("no file", QByteArray(), true);
    SettingsFile("lines of 1 KB before the keys", RepeatedLines(mb * 1000, 998, ';'), true);
    SettingsFile("lines of 1 MB before the keys", RepeatedLines(mb, 999998, ';'), false);
    SettingsFile("NUL bytes", RepeatedLines(mb * 1000, 998, '\0'), false);
    ListFile("lines of 23 characters", RepeatedLines(mb * 40000, 23, '7'));
    // The text box wraps long lines slowly: two such lines are enough to see it.
    ListFile("two lines of 1 MB", RepeatedLines(2, 999998, '8'));
    const QByteArray line = JournalLine({QDate(2026, 12, 9), QTime(17, 5, 33),
                                         TOperation::Multiplication, 7, 8, "54", false, 4210});
    JournalFile("a million lines", JournalHead() + line.repeated(1000000));
    JournalFile("lines of 1 KB of separators", RepeatedLines(mb * 1000, 998, ';'));
    JournalFile("one line of quotes, no line end", QByteArray(mb * 1000000, '"'));
    OddSettingsPath("a pipe", [] { ::mkfifo(QFile::encodeName(Ini()).constData(), 0600); });
    OddSettingsPath("a link to a folder", [] {
        ::symlink(QFile::encodeName(Home->root()).constData(),
                  QFile::encodeName(Ini()).constData());
    });
    DestroyWindows();
    return 0;
}
