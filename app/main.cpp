// Zirmon: the program's entry.
#include "app/ErrorBox.h"
#include "app/OnlyCopy.h"
#include "app/Platform.h"
#include "app/QtTexts.h"
#include "app/Zirmon.h"
#include "practice/Random.h"
#include "practice/Sound.h"
#include "windows/Mainzirm.h"
#include "windows/Vyberdite.h"

#include <QApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QWindow>

// Off unless asked for (QT_LOGGING_RULES="zirmon.start.info=true"): scripts
// that start the program on a new machine wait for this line, whatever the
// window system, the offscreen platform included.
Q_LOGGING_CATEGORY(lcStart, "zirmon.start", QtWarningMsg)

namespace {
// Says once, on zirmon.start, that the main window came on screen.
class TShownReport : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && Form1 && watched == Form1->windowHandle() &&
            Form1->windowHandle()->isExposed()) {
            qCInfo(lcStart, "main window on screen: %s", qUtf8Printable(Form1->windowTitle()));
            qApp->removeEventFilter(this);
        }
        return false;
    }
};
} // namespace

int main(int argc, char* argv[]) {
    ReseedRandom();
    ChoosePlatform(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zirmon"));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZIRMON_APP_ID));
    LoadQtTranslations();
    // A second start on the same data folder reads and writes nothing.
    TOnlyCopy onlyCopy;
    if (!onlyCopy.Claim())
        return 0;
    QApplication::setQuitOnLastWindowClosed(false);
    TSystemSoundPlayer player;
    SoundPlayer = &player;
    CreateWindows();
    // With two or more children the program starts with the choice; closing
    // it ends the program.
    bool ended = false;
    RunStep([&ended] { ended = !ChooseAtStart(); });
    if (ended) {
        DestroyWindows();
        SoundPlayer = nullptr;
        return 0;
    }
    TShownReport shown;
    if (lcStart().isInfoEnabled())
        qApp->installEventFilter(&shown);
    Form1->show();
    const int result = QApplication::exec();
    DestroyWindows();
    SoundPlayer = nullptr;
    return result;
}
