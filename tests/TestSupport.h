#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "practice/Evaluation.h"

// A temporary home for one test program: XDG_DATA_HOME and HOME point into a
// fresh temporary folder (on Windows the application-data folder is that
// folder's "share"), so no test ever touches the real data folder.
class TTempHome {
public:
    TTempHome();
    QString root() const { return Dir.path(); }
    // The data folder the program uses under this home, with a trailing
    // separator.
    QString dataDir() const;

private:
    QTemporaryDir Dir;
};

// Shows the main window of CreateWindows and waits until it is active.
bool ShowMainWindow();

class QWidget;
// One of the eight windows by its name ("Form1", "setpoc", ...), or nullptr.
QWidget* WindowNamed(const QString& name);

// While it lives, file permission bits bind this thread even when it runs as
// root (the capabilities that override them are set aside). Active() is
// false where that cannot be done; a test then skips what needs it.
class TPermissionsBind {
public:
    TPermissionsBind();
    ~TPermissionsBind();
    TPermissionsBind(const TPermissionsBind&) = delete;
    TPermissionsBind& operator=(const TPermissionsBind&) = delete;
    bool Active() const { return Ok; }

private:
    bool Ok = false;
    bool Dropped = false;
};

QByteArray ReadAll(const QString& path);
// The text in windows-1250, the ANSI code page of the files, from a table
// of its own (ASCII and the Czech letters only), not the program's converter.
QByteArray Cp1250(const QString& text);
// A named pipe or a symbolic link at path; false where the system makes
// none (Windows).
bool MakeFifo(const QString& path);
bool MakeSymlink(const QString& target, const QString& path);
// What lies at path, links not followed: 'p' a pipe, 'd' a folder, 'l' a
// link, 'f' a regular file, 0 nothing.
char FileKind(const QString& path);
// count lines of width copies of fill, each ended by CR LF.
QByteArray RepeatedLines(qsizetype count, qsizetype width, char fill);
// Sets the problem's operands, types typed into the answer field and
// presses Enter.
void AnswerProblem(int first, int second, const char* typed);
void WriteAll(const QString& path, const QByteArray& bytes);

#include <QStringList>

// Waits (from timers, while a modal box runs its own loop) for the next
// message box, writes "caption|text" into log and presses Enter in it.
void AnswerNextBox(QStringList* log);

// A clock whose time moves only when the pause sleeps, so no test waits.
class TFakeClock : public TClock {
public:
    long long Now = 500; // half a second into a minute
    long long Slept = 0;
    // The local date and time at Now == 0, when set; else the real ones.
    QDateTime Start;
    int LocalSeconds() override { return int((Now / 1000) % 60); }
    QDateTime LocalNow() override {
        return Start.isValid() ? Start.addMSecs(Now) : QDateTime::currentDateTime();
    }
    long long ElapsedMs() override { return Now; }
    void Sleep(int ms) override {
        Now += ms;
        Slept += ms;
    }
};

// Answers every message box that comes up while it lives, as a user would,
// and writes "caption|text" of each into Boxes.
class QTimer;
class TBoxAnswerer {
public:
    TBoxAnswerer();
    ~TBoxAnswerer();
    TBoxAnswerer(const TBoxAnswerer&) = delete;
    TBoxAnswerer& operator=(const TBoxAnswerer&) = delete;
    QStringList Boxes;

private:
    QTimer* Timer;
};

#include <QApplication>
#include <QTest>

// The main of a test program that also runs as a driver of itself, started
// by one of its tests under a helper (an X server, a sound server): with
// variable set it runs driver instead of the tests.
template <typename Test>
int TestMainWithDriver(int argc, char* argv[], const char* variable, int (*driver)(int, char**)) {
    if (qEnvironmentVariableIsSet(variable))
        return driver(argc, argv);
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
