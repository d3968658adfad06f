#pragma once

#include <QString>

// The per-user application-data folder of the platform: on Windows the
// roaming one (SHGetSpecialFolderPathW, folder id 26, not created), elsewhere
// Qt's generic data location. Empty when the platform names none.
QString PlatformAppDataFolder();

// Where GetDataDir looks for that folder: PlatformAppDataFolder unless a
// test has put a folder of its own in its place.
extern QString (*AppDataFolder)();

// The application-data folder, a separator unless it ends in one, "zirmon"
// and a separator (on Windows "\"); created, with any missing parents, when
// it is missing. Empty when the platform names no data location.
QString GetDataDir();

// The same folder without making it.
QString DataDirPath();

// The settings file: the data folder followed by "zirmon.ini".
QString GetIniPath();

// The wrong-answer list file: the data folder followed by "priklad.dat".
QString GetListPath();
