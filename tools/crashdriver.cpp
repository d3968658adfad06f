// The crash test's two halves (tools/crashtest.sh runs them).
//
//   zirmon-crashdriver start JOURNAL
//       Begins a new journal with the content each file has now; the script
//       runs it before it starts the driver, so the checker knows where a
//       run began even when the kill comes before the driver is up.
//
//   zirmon-crashdriver drive JOURNAL
//       Creates the program's windows (on the offscreen platform, with a
//       clock that makes the pause take no time) and uses them for ever as a
//       child and a parent would: answers problems right and wrong, ends
//       practices, changes settings, clears the list, resets the counts and
//       ends the program, each followed by its saves. Before every file is
//       replaced, the bytes about to be written are appended to JOURNAL and
//       flushed to disk; after the rename a line says so. The script kills it.
//
//   zirmon-crashdriver check JOURNAL
//       After the kill: zirmon.ini and priklad.dat must parse and hold either
//       the content before the write the kill interrupted or the one after
//       it; every line of the answer journal denik.csv but a torn last one
//       must read. Prints one word for each file (untouched, done, new, old,
//       torn; readable or unreadable for the journal) and the number of
//       temporary files left; exits 1 when a file is torn or does not parse.
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "store/DataDir.h"
#include "store/IntText.h"
#include "store/Journal.h"
#include "store/ListFile.h"
#include "store/ProfileFile.h"
#include "store/WholeFile.h"
#include "windows/Mainzirm.h"
#include "windows/Nastzirm.h"
#include "windows/Vyslf.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

const char* const FileNames[] = {"zirmon.ini", "priklad.dat"};

// The journal: "I name size" with the content a run starts from ("-" for
// no file), "W n name size" with the bytes of write n, "C n" once write n
// has replaced its file. Each record is flushed to disk before the program
// goes on, so a write is never begun before its record is complete.
class TJournal : public TFileHooks {
public:
    TJournal(const QString& path, bool begin)
        : Fd(::open(QFile::encodeName(path).constData(),
                    O_WRONLY | O_CREAT | O_CLOEXEC | (begin ? O_TRUNC : O_APPEND), 0600)) {
        if (Fd < 0)
            qFatal("cannot write the journal %s", qPrintable(path));
    }
    void Start(const QString& name, const QString& path) {
        const TFileRead file = ReadWholeFile(path);
        if (!file.Ok)
            Record("I " + name.toUtf8() + " -\n");
        else
            Record("I " + name.toUtf8() + ' ' + QByteArray::number(file.Bytes.size()) + '\n' +
                   file.Bytes + '\n');
    }
    void Replacing(const QString& path, const QByteArray& bytes) override {
        Record("W " + QByteArray::number(++Writes) + ' ' + QFileInfo(path).fileName().toUtf8() +
               ' ' + QByteArray::number(bytes.size()) + '\n' + bytes + '\n');
    }
    void Replaced(const QString&) override { Record("C " + QByteArray::number(Writes) + '\n'); }

private:
    void Record(const QByteArray& record) {
        qsizetype done = 0;
        while (done < record.size()) {
            const ssize_t n = ::write(Fd, record.constData() + done, size_t(record.size() - done));
            if (n <= 0)
                qFatal("cannot write the journal");
            done += n;
        }
        if (::fsync(Fd) != 0)
            qFatal("cannot flush the journal");
    }
    int Fd;
    long long Writes = 0;
};

QRandomGenerator Dice(quint32(QCoreApplication::applicationPid()) ^
                      quint32(QDateTime::currentMSecsSinceEpoch()));

bool Chance(int percent) {
    return int(Dice.bounded(100)) < percent;
}

template <typename T> T Pick(std::initializer_list<T> items) {
    return items.begin()[Dice.bounded(int(items.size()))];
}

int RightAnswer() {
    const TPracticeState& s = PracticeState;
    if (s.OpAdd)
        return s.Operand1 + s.Operand2;
    if (s.OpSub)
        return s.Operand1 - s.Operand2;
    if (s.OpMul)
        return s.Operand1 * s.Operand2;
    return s.Operand2 != 0 ? s.Operand1 / s.Operand2 : 0;
}

void ChangeSettings(QWidget*) {
    QList<QAbstractButton*> controls = {setpoc->scitdodes,  setpoc->scitdodvac, setpoc->scitdosta,
                                        setpoc->scitbezpr,  setpoc->odcitdodes, setpoc->odcitdodvac,
                                        setpoc->odcitdosta, setpoc->odcitbezpr, setpoc->oksc,
                                        setpoc->okod,       setpoc->okna,       setpoc->okde};
    for (QCheckBox* box : setpoc->findChildren<QCheckBox*>()) {
        if (box->objectName().startsWith("nass") || box->objectName().startsWith("del"))
            controls << box;
    }
    const int changes = 1 + int(Dice.bounded(4));
    for (int i = 0; i < changes; ++i) {
        QAbstractButton* control = controls[Dice.bounded(int(controls.size()))];
        // A hidden page's control is reached the way a user does: its page first.
        for (int page = 0; page < setpoc->scitan->count(); ++page) {
            if (setpoc->scitan->widget(page)->isAncestorOf(control))
                setpoc->scitan->setCurrentIndex(page);
        }
        Click(control);
    }
    Click(Chance(80) ? static_cast<QWidget*>(setpoc->OKBtn) : setpoc->CancelBtn);
}

void UseListWindow(QWidget*) {
    if (Chance(30))
        Click(vyslForm->BitBtn2);
    Click(vyslForm->BitBtn1);
}

// One thing a user does, then the next one from the event loop.
void Step() {
    if (Form1->vy->isVisible()) {
        if (Chance(85)) {
            const int right = RightAnswer();
            const int typed = Chance(50) ? right : right + 1 + int(Dice.bounded(9));
            QTest::keyClicks(Form1->vy, QString::number(typed).left(3));
            QTest::keyClick(Form1->vy, Qt::Key_Return);
        } else {
            Click(Form1->konec);
        }
    } else {
        const int roll = int(Dice.bounded(100));
        if (roll < 45) {
            Click(Pick<QWidget*>(
                {Form1->nasob, Form1->delen, Form1->scitan, Form1->ocitan, Form1->nah}));
        } else if (roll < 70) {
            WhenModal("settings dialog", Is(setpoc), ChangeSettings);
            Form1->nast->trigger();
        } else if (roll < 85) {
            WhenModal("list window", Is(vyslForm), UseListWindow);
            Form1->Pklady1->trigger();
        } else if (roll < 95) {
            Click(Form1->nuluj);
        } else {
            Click(Form1->BitBtn5); // "Konec": saves and ends the event loop
        }
    }
    if (!Failures.isEmpty()) {
        std::fprintf(stderr, "driver: %s\n", qPrintable(Failures.join("; ")));
        Failures.clear();
    }
    QTimer::singleShot(0, qApp, Step);
}

int Begin(const QString& journalPath) {
    TJournal journal(journalPath, true);
    journal.Start(FileNames[0], GetIniPath());
    journal.Start(FileNames[1], GetListPath());
    return 0;
}

int Drive(const QString& journalPath) {
    TJournal journal(journalPath, false);
    FileHooks = &journal;
    TFakeClock noPause;
    Clock = &noPause;
    SoundPlayer = nullptr;
    CreateWindows();
    TBoxAnswerer errors; // none is expected; they are answered and told
    // One chain of steps: each arms the next, across the ends of the loop.
    QTimer::singleShot(0, qApp, Step);
    for (;;) {
        Form1->show();
        QApplication::exec();
        for (const QString& box : std::as_const(errors.Boxes))
            std::fprintf(stderr, "driver: unexpected box %s\n", qPrintable(box));
        errors.Boxes.clear();
    }
}

// --- the checker ---

struct TState {
    bool Exists = false;
    QByteArray Bytes;
    bool Replaced = false; // its "C" record is there
};

// The states of each file in journal order; a record cut short by the kill
// and everything after it are left out.
std::map<QString, std::vector<TState>> ReadJournal(const QByteArray& journal) {
    std::map<QString, std::vector<TState>> states;
    std::map<long long, QString> written;
    qsizetype at = 0;
    for (;;) {
        const qsizetype end = journal.indexOf('\n', at);
        if (end < 0)
            break;
        const QList<QByteArray> head = journal.mid(at, end - at).split(' ');
        at = end + 1;
        if (head.size() == 2 && head[0] == "C") {
            const auto it = written.find(head[1].toLongLong());
            if (it != written.end())
                states[it->second].back().Replaced = true;
            continue;
        }
        const bool initial = head.size() == 3 && head[0] == "I";
        if (!initial && !(head.size() == 4 && head[0] == "W"))
            break;
        TState state;
        const QByteArray size = head.back();
        if (size != "-") {
            const qsizetype n = size.toLongLong();
            if (at + n + 1 > journal.size())
                break; // cut short: that write had not begun
            state.Exists = true;
            state.Bytes = journal.mid(at, n);
            at += n + 1;
        }
        const QString name = QString::fromUtf8(head[initial ? 1 : 2]);
        if (!initial)
            written[head[1].toLongLong()] = name;
        state.Replaced = initial;
        states[name].push_back(state);
    }
    return states;
}

bool ListParses(const QString& path, QString& why) {
    if (!QFileInfo::exists(path))
        return true;
    QString text;
    try {
        text = LoadListFile(path);
    } catch (...) {
        why = "the list file cannot be read";
        return false;
    }
    if (text.isEmpty())
        return true;
    if (!text.startsWith(DesignListText()) && !text.startsWith(ClearedListText())) {
        why = "the list does not start with a header";
        return false;
    }
    static const QRegularExpression line(QStringLiteral(
        "^-?\\d+( {2}\\+ {5}| {4}- {3}| {3}\\* {4}| {3}: {5})-?\\d+ {4}= {4}-?\\d+$"));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    for (qsizetype i = 3; i < lines.size(); ++i) {
        if (!line.match(lines[i]).hasMatch()) {
            why = "no answer line: " + lines[i];
            return false;
        }
    }
    return true;
}

bool IniParses(const QString& path, QString& why) {
    const TFileRead file = ReadWholeFile(path);
    if (!file.Ok)
        return !QFileInfo::exists(path);
    if (!file.Bytes.isEmpty() && !file.Bytes.endsWith("\r\n")) {
        why = "the settings file does not end in CR LF";
        return false;
    }
    for (const QByteArray& line : file.Bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        if (!line.endsWith('\r') || (!line.startsWith('[') && !line.contains('='))) {
            why = "not a settings line: " + QString::fromLatin1(line);
            return false;
        }
    }
    for (const char* key : {"OKscit", "KOscit", "OKodcit", "KOodcit", "OKnas", "KOnas", "OKdele",
                            "KOdele", "OKcelk", "KOcelk"}) {
        const std::optional<QString> value =
            ProfileValue(file.Bytes, u"Tabulka", QString::fromLatin1(key));
        if (value && !TryStrToInt(*value)) {
            why = QString("the count %1 is no number").arg(key);
            return false;
        }
    }
    return true;
}

int Check(const QString& journalPath) {
    const TFileRead journal = ReadWholeFile(journalPath);
    if (!journal.Ok) {
        std::printf("no-journal\n");
        return 1;
    }
    const auto states = ReadJournal(journal.Bytes);
    const QString folder = GetDataDir();
    bool good = true;
    for (const char* name : FileNames) {
        const QString path = folder + QString::fromLatin1(name);
        const auto found = states.find(QString::fromLatin1(name));
        if (found == states.end() || found->second.empty()) {
            std::printf("%s=no-journal ", name);
            good = false;
            continue;
        }
        const std::vector<TState>& list = found->second;
        const TFileRead file = ReadWholeFile(path);
        auto holds = [&](const TState& s) {
            return s.Exists ? file.Ok && file.Bytes == s.Bytes : file.Missing;
        };
        const TState& last = list.back();
        const char* outcome = "torn";
        if (list.size() == 1 && holds(last))
            outcome = "untouched";
        else if (last.Replaced && holds(last))
            outcome = "done";
        else if (!last.Replaced && holds(last))
            outcome = "new";
        else if (!last.Replaced && holds(list[list.size() - 2]))
            outcome = "old";
        QString why;
        const bool parses = QString::fromLatin1(name) == "zirmon.ini" ? IniParses(path, why)
                                                                      : ListParses(path, why);
        if (!parses) {
            outcome = "unparsable";
            std::fprintf(stderr, "%s: %s\n", name, qPrintable(why));
        }
        if (QByteArray(outcome) == "torn" || QByteArray(outcome) == "unparsable")
            good = false;
        std::printf("%s=%s ", name, outcome);
    }
    // The answer journal is appended to, not replaced: a kill may tear its
    // last line, and every line before that must read, but for torn lines
    // that a later answer ended and marked.
    const TFileRead answers = ReadWholeFile(GetJournalPath());
    if (answers.Ok && !answers.Bytes.isEmpty()) {
        const qsizetype lines = answers.Bytes.count("\r\n") - answers.Bytes.count(";přerušeno\r\n");
        const bool whole = ParseJournal(answers.Bytes).size() == std::max<qsizetype>(0, lines - 1);
        std::printf("denik.csv=%s ", whole ? "readable" : "unreadable");
        good = good && whole;
    }
    int others = 0;
    for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (entry != "zirmon.ini" && entry != "priklad.dat" && entry != "denik.csv") {
            std::fprintf(stderr, "left in the data folder: %s\n", qPrintable(entry));
            ++others;
        }
    }
    std::printf("temporary-files=%d\n", others);
    return good ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const QByteArray mode = argc == 3 ? QByteArray(argv[1]) : QByteArray();
    if (mode != "start" && mode != "drive" && mode != "check") {
        std::fprintf(stderr, "usage: zirmon-crashdriver start|drive|check JOURNAL\n");
        return 2;
    }
    const QString journal = QString::fromLocal8Bit(argv[2]);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (mode == "start")
        return Begin(journal);
    return mode == "drive" ? Drive(journal) : Check(journal);
}
