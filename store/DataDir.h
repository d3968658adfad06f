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

// The folder of a child's files: the data folder itself for folder 0,
// else its folder "deti/<folder>" below it (not made here).
QString ChildDirPath(int folder);

// The folder of the practising child's files, made when missing: the data
// folder itself unless two or more children are named.
QString GetChildDir();

// The practising child's settings file: its folder followed by "zirmon.ini".
QString GetIniPath();

// The practising child's journal of judged answers: "denik.csv" in the
// folder of GetIniPath.
QString GetJournalPath();

// The practising child's wrong-answer list: its folder followed by
// "priklad.dat".
QString GetListPath();

// The data folder's own "zirmon.ini", which holds the family's keys (the
// password, its protection, the window's position) whoever practises.
QString GetFamilyIniPath();

// The family file "rodina.ini" in the data folder: the children's names.
QString GetFamilyPath();

// Whether a file at path, once written, would lie in the data folder or a
// folder below it (links followed, case ignored on Windows), where it could
// replace a child's files.
bool InDataFolder(const QString& path);
