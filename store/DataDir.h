#pragma once

#include <QString>

// The per-user data folder followed by "zirmon" and a separator; created,
// with any missing parents, when it is missing. Empty when the platform
// names no data location.
QString GetDataDir();

// The same folder without making it.
QString DataDirPath();

// The settings file: the data folder followed by "zirmon.ini".
QString GetIniPath();

// The wrong-answer list file: the data folder followed by "priklad.dat".
QString GetListPath();
