// Zirmon: the program's entry.
#include "app/Platform.h"
#include "app/QtTexts.h"
#include "app/Zirmon.h"
#include "practice/Random.h"
#include "practice/Sound.h"
#include "windows/Mainzirm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ReseedRandom();
    ChoosePlatform(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zirmon"));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZIRMON_APP_ID));
    LoadQtTranslations();
    QApplication::setQuitOnLastWindowClosed(false);
    TThreadSoundPlayer player;
    SoundPlayer = &player;
    CreateWindows();
    Form1->show();
    const int result = QApplication::exec();
    DestroyWindows();
    SoundPlayer = nullptr;
    return result;
}
