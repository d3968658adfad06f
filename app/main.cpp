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
    Form1->show();
    const int result = QApplication::exec();
    DestroyWindows();
    SoundPlayer = nullptr;
    return result;
}
