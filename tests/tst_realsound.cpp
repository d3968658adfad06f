// The real player and the real pause: a wrong answer must be heard while the
// interface thread waits. The test starts itself again as a driver under
// tools/soundcheck.sh, which records a private PulseAudio null sink.
#include "TestSupport.h"
#include "app/Zirmon.h"
#include "practice/PracticeState.h"
#include "practice/Sound.h"
#include "windows/Mainzirm.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {
const char* const DriverVariable = "ZIRMON_SOUND_DRIVER";

// One wrong answer with everything real; the process lingers a moment so
// that the end of the siren is recorded too.
int RunDriver(int argc, char* argv[]) {
    TTempHome home;
    QApplication app(argc, argv);
    TThreadSoundPlayer player;
    SoundPlayer = &player;
    CreateWindows();
    Form1->show();
    Form1->nasob->click();
    PracticeState.Operand1 = 7;
    PracticeState.Operand2 = 3;
    QTest::keyClicks(Form1->vy, "20");
    QTest::keyClick(Form1->vy, Qt::Key_Return);
    const bool judged = PracticeState.BadMul == 1;
    QTest::qWait(800);
    DestroyWindows();
    SoundPlayer = nullptr;
    return judged ? 0 : 3;
}
} // namespace

class TestRealSound : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wrongAnswerIsHeardDuringThePause() {
        for (const char* tool : {"pulseaudio", "parecord", "sox"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("no PulseAudio or sox on this machine");
        const QString script = QStringLiteral(ZIRMON_SOURCE_DIR "/tools/soundcheck.sh");
        QProcess check;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(DriverVariable), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        check.setProcessEnvironment(env);
        check.start(QStringLiteral("bash"), {script, QCoreApplication::applicationFilePath()});
        QVERIFY(check.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(check.readAllStandardOutput());
        QVERIFY2(check.exitCode() == 0,
                 qPrintable(out + QString::fromLocal8Bit(check.readAllStandardError())));
        const QRegularExpressionMatch rms =
            QRegularExpression(QStringLiteral("rms=([0-9.]+)")).match(out);
        QVERIFY2(rms.hasMatch(), qPrintable(out));
        // Silence records as 0; the siren over the recording comes out far above.
        QVERIFY2(rms.captured(1).toDouble() > 0.05, qPrintable(out));
    }
};

int main(int argc, char* argv[]) {
    return TestMainWithDriver<TestRealSound>(argc, argv, DriverVariable, RunDriver);
}

#include "tst_realsound.moc"
