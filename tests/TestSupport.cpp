#include "TestSupport.h"

#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "windows/About.h"
#include "windows/Histr.h"
#include "windows/Mainzirm.h"
#include "windows/Man.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
namespace {
QString TempAppData;
QString TempAppDataFolder() {
    return TempAppData;
}
} // namespace

TTempHome::TTempHome() {
    TempAppData = QDir::toNativeSeparators(Dir.path() + "/share");
    AppDataFolder = &TempAppDataFolder;
}

QString TTempHome::dataDir() const {
    return QDir::toNativeSeparators(Dir.path() + "/share/zirmon/");
}
#else
TTempHome::TTempHome() {
    qputenv("HOME", Dir.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (Dir.path() + "/share").toLocal8Bit());
    // The lock of a running copy lives in the runtime folder.
    const QString runtime = Dir.path() + "/run";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
}

QString TTempHome::dataDir() const {
    return Dir.path() + "/share/zirmon/";
}
#endif

#ifdef Q_OS_LINUX
namespace {
// The effective capabilities of this thread without (or with again) the
// two that let root pass over permission bits.
bool SetOverride(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    if (on)
        data[0].effective |= bits & data[0].permitted;
    else
        data[0].effective &= ~bits;
    return ::syscall(SYS_capset, &header, data) == 0;
}
} // namespace

TPermissionsBind::TPermissionsBind() {
    if (::geteuid() != 0) {
        Ok = true;
        return;
    }
    Ok = Dropped = SetOverride(false);
}

TPermissionsBind::~TPermissionsBind() {
    if (Dropped)
        SetOverride(true);
}
#else
TPermissionsBind::TPermissionsBind() = default;
TPermissionsBind::~TPermissionsBind() = default;
#endif

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QByteArray Cp1250(const QString& text) {
    // The Czech letters and their bytes in the code page's table; ASCII
    // stays as it is.
    static const QString Letters = QStringLiteral("ÁáČčĎďÉéĚěÍíŇňÓóŘřŠšŤťÚúŮůÝýŽž");
    static const QByteArray Bytes("\xC1\xE1\xC8\xE8\xCF\xEF\xC9\xE9\xCC\xEC\xCD\xED\xD2\xF2\xD3"
                                  "\xF3\xD8\xF8\x8A\x9A\x8D\x9D\xDA\xFA\xD9\xF9\xDD\xFD\x8E\x9E");
    QByteArray bytes;
    for (const QChar c : text) {
        const qsizetype i = Letters.indexOf(c);
        if (c.unicode() >= 0x80 && i < 0)
            qFatal("Cp1250: U+%04X is not among the Czech letters", unsigned(c.unicode()));
        bytes += c.unicode() < 0x80 ? char(c.unicode()) : Bytes[i];
    }
    return bytes;
}

#ifdef Q_OS_UNIX
bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool MakeSymlink(const QString& target, const QString& path) {
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) ==
           0;
}

char FileKind(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return 0;
    if (S_ISFIFO(status.st_mode))
        return 'p';
    if (S_ISDIR(status.st_mode))
        return 'd';
    if (S_ISLNK(status.st_mode))
        return 'l';
    return 'f';
}
#else
bool MakeFifo(const QString&) {
    return false;
}

bool MakeSymlink(const QString&, const QString&) {
    return false;
}

char FileKind(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return 'l';
    if (!info.exists())
        return 0;
    return info.isDir() ? 'd' : 'f';
}
#endif

QByteArray RepeatedLines(qsizetype count, qsizetype width, char fill) {
    const QByteArray line = QByteArray(width, fill) + "\r\n";
    QByteArray bytes;
    bytes.reserve(count * line.size());
    for (qsizetype i = 0; i < count; ++i)
        bytes += line;
    return bytes;
}

void AnswerProblem(int first, int second, const char* typed) {
    PracticeState.Operand1 = first;
    PracticeState.Operand2 = second;
    QTest::keyClicks(Form1->vy, typed);
    QTest::keyClick(Form1->vy, Qt::Key_Return);
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {
void PollForBox(QStringList* log, int triesLeft) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->isVisible()) {
        log->append(box->windowTitle() + QLatin1Char('|') + box->text());
        QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    if (triesLeft > 0)
        QTimer::singleShot(10, qApp, [log, triesLeft] { PollForBox(log, triesLeft - 1); });
}
} // namespace

void AnswerNextBox(QStringList* log) {
    QTimer::singleShot(0, qApp, [log] { PollForBox(log, 300); });
}

bool ShowMainWindow() {
    Form1->show();
    Form1->activateWindow();
    return QTest::qWaitForWindowActive(Form1);
}

QWidget* WindowNamed(const QString& name) {
    for (QWidget* w : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(setpoc),
                       static_cast<QWidget*>(AboutBox), static_cast<QWidget*>(hist),
                       static_cast<QWidget*>(manual), static_cast<QWidget*>(PasswordDlg),
                       static_cast<QWidget*>(PasswordDlg1), static_cast<QWidget*>(vyslForm)})
        if (w && w->objectName() == name)
            return w;
    return nullptr;
}

TBoxAnswerer::TBoxAnswerer() : Timer(new QTimer) {
    QObject::connect(Timer, &QTimer::timeout, Timer, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        // A box that would read its text as markup is noted as such.
        Boxes.append(box->windowTitle() + QLatin1Char('|') + box->text() +
                     (box->textFormat() == Qt::PlainText ? QString() : QStringLiteral("|rich")));
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    Timer->start(10);
}

TBoxAnswerer::~TBoxAnswerer() {
    delete Timer;
}
