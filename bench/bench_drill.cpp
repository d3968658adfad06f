// Measures the answer path: one Enter with 10, 1,000 and 100,000 lines in
// the wrong-answer list (pause and sound left out), one showing of the list
// with 100,000 lines, LoadSettings on a file of the size the program writes,
// a switch to another child of a family of nine, the opening of the
// progress window on a journal of 100,000 answers with the memory it takes,
// and the processor time of one real pause. Prints one table row per figure
// ("| what | median | min | max | runs |", in milliseconds unless the row
// says otherwise); run it with QT_QPA_PLATFORM=offscreen. bench/run.sh
// collects the rows into its report.
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "practice/Progress.h"
#include "practice/Returns.h"
#include "practice/Sound.h"
#include "store/DataDir.h"
#include "store/Family.h"
#include "store/Journal.h"
#include "store/ListFile.h"
#include "store/ProfileFile.h"
#include "store/Settings.h"
#include "store/WholeFile.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Pokrok.h"
#include "windows/Vyberdite.h"
#include "windows/Vyslf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <sys/resource.h>
#include <vector>

namespace {

class TNoPause : public TClock {
public:
    long long Now = 0;
    int LocalSeconds() override { return int(Now / 1000 % 60); }
    long long ElapsedMs() override { return Now += 1000; }
    void Sleep(int) override {}
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* what, const std::vector<double>& values) {
    std::printf("| %s | %.3f | %.3f | %.3f | %zu |\n", what, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()), values.size());
    std::fflush(stdout);
}

double CpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// A figure of /proc/self/status ("VmRSS", "VmHWM") in KiB.
double StatusKib(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toDouble();
    return 0;
}

// Starts the peak resident memory afresh from the present figure.
void ResetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// A journal of lines answers over the last days, all four operations, about
// 250 a day, one in seven wrong.
QByteArray JournalOf(int lines) {
    QByteArray bytes = JournalHead();
    bytes.reserve(lines * 48);
    const QDate first = QDate::currentDate().addDays(-lines / 250);
    for (int i = 0; i < lines; ++i) {
        const auto op = static_cast<TOperation>(i % 4);
        const int a = i % 11;
        const int b = 1 + i / 4 % 10;
        const bool right = i % 7 != 0;
        bytes += JournalLine(TJournalEntry{
            first.addDays(i / 250), QTime(16, 0).addSecs(i % 250 * 9), op,
            op == TOperation::Division ? a * b : a, b,
            right ? QStringLiteral("42") : QStringLiteral("41"), right, 1200 + i % 37 * 150});
    }
    return bytes;
}

QString ListOf(int lines) {
    QString text;
    text.reserve(lines * 24);
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("%1   *    7    =    %2\r\n").arg(i % 11).arg(i % 100);
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/share").toLocal8Bit());
    QApplication app(argc, argv);
    TClock* systemClock = Clock;
    TNoPause noPause;
    Clock = &noPause;
    SoundPlayer = nullptr;
    CreateWindows();
    Form1->show();

    for (int lines : {10, 1000, 100000}) {
        vyslForm->SetListText(ListOf(lines));
        vyslForm->KeepEarlierRuns(); // nothing on disk yet: the list stays
        std::vector<double> ms;
        Form1->nasob->click();
        for (int i = 0; i < (lines > 1000 ? 15 : 50); ++i) {
            PracticeState.Operand1 = 3;
            PracticeState.Operand2 = 3;
            QTest::keyClick(Form1->vy, Qt::Key_1); // an empty Enter judges nothing
            QElapsedTimer t;
            t.start();
            QTest::keyClick(Form1->vy, Qt::Key_Return); // a wrong answer: listed, saved, journaled
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        Form1->konec->click();
        Report(qPrintable(QStringLiteral("one Enter, %L1 listed lines, ms").arg(lines)), ms);
    }

    {
        // The journal's part of an Enter, on the journal the Enters above
        // wrote.
        const TJournalEntry entry{QDate(2026, 12, 9),
                                  QTime(17, 5, 33),
                                  TOperation::Multiplication,
                                  7,
                                  8,
                                  QStringLiteral("54"),
                                  false,
                                  4210};
        std::vector<double> ms;
        for (int i = 0; i < 50; ++i) {
            QElapsedTimer t;
            t.start();
            AppendJournal(GetJournalPath(), entry);
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        Report("  of which the journal line, ms", ms);
    }

    {
        // The first problem of a run reads the journal for the facts due;
        // here a year's journal of 100,000 answers to 110 facts.
        QByteArray journal = JournalHead();
        for (int i = 0; i < 100000; ++i)
            journal += JournalLine({QDate(2025, 12, 1).addDays(i / 300), QTime(17, 5, 33),
                                    TOperation::Multiplication, i % 11, 1 + i % 10,
                                    QString::number(i % 11 * (1 + i % 10) + (i % 7 == 0)),
                                    i % 7 != 0, 900 + i % 5000});
        ReplaceWholeFile(GetJournalPath(), journal, true);
        std::vector<double> ms;
        for (int i = 0; i < 7; ++i) {
            ForgetReturns();
            QElapsedTimer t;
            t.start();
            Form1->nasob->click();
            ms.push_back(t.nsecsElapsed() / 1e6);
            Form1->konec->click();
        }
        Report("the first problem of a run, a year's journal (100,000 lines), ms", ms);
    }

    {
        vyslForm->SetListText(ListOf(100000));
        vyslForm->SaveList();
        std::vector<double> ms;
        for (int i = 0; i < 7; ++i) {
            QTimer::singleShot(0, vyslForm, [] { vyslForm->reject(); });
            QElapsedTimer t;
            t.start();
            vyslForm->exec();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        Report("one showing of \"Příklady\", 100,000 lines, ms", ms);
        // Of which: reading and decoding the file, and filling the text box.
        std::vector<double> load, fill;
        for (int i = 0; i < 7; ++i) {
            QElapsedTimer t;
            t.start();
            const QString text = LoadListFile(GetListPath());
            load.push_back(t.nsecsElapsed() / 1e6);
            t.restart();
            vyslForm->SetListText(text);
            fill.push_back(t.nsecsElapsed() / 1e6);
        }
        Report("  of which reading the file, ms", load);
        Report("  of which filling the list box, ms", fill);
    }

    {
        // A settings file as the program writes it.
        setpoc->OKBtn->click();
        TProfileFile(GetIniPath()).WriteString("PASSWD", "USRPASSWD", "heslo");
        std::vector<double> ms;
        for (int i = 0; i < 50; ++i) {
            QElapsedTimer t;
            t.start();
            LoadSettings();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        Report("`LoadSettings` on a file as written, ms", ms);
    }

    {
        // A family of nine: a switch between two children whose settings
        // files are as written and whose lists hold 1,000 lines each.
        for (int i = 1; i <= 9; ++i)
            AddChild(QStringLiteral("Dítě %1").arg(i));
        const QByteArray settings = ReadWholeFile(GetIniPath()).Bytes;
        for (int i = 1; i <= 2; ++i) {
            SwitchChild(i);
            ReplaceWholeFile(GetIniPath(), settings, true);
            SaveListFile(GetListPath(), ListOf(1000));
        }
        std::vector<double> ms;
        for (int i = 0; i < 50; ++i) {
            QElapsedTimer t;
            t.start();
            SwitchChild(1 + i % 2);
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        Report("switching to another child of nine, 1,000 lines, ms", ms);
    }

    {
        // The progress window on a journal of 100,000 answers: the first
        // opening makes the window, later ones read the journal again.
        for (int k = 1; k <= 10; ++k)
            PracticeState.MulTable[k] = PracticeState.DivBy[k] = true;
        ReplaceWholeFile(GetJournalPath(), JournalOf(100000), true);
        QCoreApplication::processEvents();
        malloc_trim(0); // what was freed before goes back, so only the window counts
        const double rssBefore = StatusKib("VmRSS:");
        ResetPeakMemory();
        const double peakBefore = StatusKib("VmHWM:");
        QElapsedTimer t;
        t.start();
        Form1->pokrok->trigger();
        QCoreApplication::processEvents(); // laid out and painted
        Report("first opening of \"Pokrok\", 100,000 answers, ms", {t.nsecsElapsed() / 1e6});
        malloc_trim(0);
        Report("  memory it added, resident after it, MiB",
               {(StatusKib("VmRSS:") - rssBefore) / 1024});
        Report("  memory it added, peak while it opened, MiB",
               {(StatusKib("VmHWM:") - peakBefore) / 1024});
        std::vector<double> ms;
        for (int i = 0; i < 7; ++i) {
            Pokrok->hide();
            QCoreApplication::processEvents();
            t.restart();
            Form1->pokrok->trigger();
            QCoreApplication::processEvents();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        Report("opening \"Pokrok\" again, 100,000 answers, ms", ms);
        std::vector<double> read, summed;
        for (int i = 0; i < 7; ++i) {
            t.restart();
            ReadJournalEach(GetJournalPath(), [](const TJournalEntry&) {});
            read.push_back(t.nsecsElapsed() / 1e6);
            t.restart();
            TDaySummarizer summarizer;
            TFactDeriver deriver;
            ReadJournalEach(GetJournalPath(), [&](const TJournalEntry& entry) {
                summarizer.Add(entry);
                deriver.Add(entry);
            });
            summarizer.Result();
            deriver.Result();
            summed.push_back(t.nsecsElapsed() / 1e6);
        }
        Report("  of which reading the journal, ms", read);
        Report("  of which reading it with the days and facts summed up, ms", summed);
        Pokrok->hide();
    }

    {
        Clock = systemClock;
        std::vector<double> share, cpuMs, wallMs;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            const double cpu = CpuMs();
            WaitSeconds(2);
            const double wall = t.nsecsElapsed() / 1e6;
            cpuMs.push_back(CpuMs() - cpu);
            wallMs.push_back(wall);
            share.push_back(100.0 * cpuMs.back() / wall);
        }
        Report("one pause, on the clock, ms", wallMs);
        Report("one pause, processor time, ms", cpuMs);
        Report("one pause, share of one core, %", share);
    }
    DestroyWindows();
    return 0;
}
