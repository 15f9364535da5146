#pragma once
// The program folder: where db.mdb, the default background picture and the clock animation live.
#include <QString>

// The folder given to setProgramFolder(), or else the folder of the executable.
QString programFolder();
void setProgramFolder(const QString& folder);
// A file name in the program folder, joined with the platform's separator.
QString programFile(const QString& fileName);
