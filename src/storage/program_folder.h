#pragma once
// The program folder: where db.mdb, the default background picture and the clock animation live.
// In a build folder, or a folder the program was unpacked into, that is the executable's own
// folder. An installed program (executable in <prefix>/bin, its files in
// <prefix>/share/corvanta) keeps them in the user's data folder, $XDG_DATA_HOME/corvanta.
#include <QString>

// The folder given to setProgramFolder(), or else the folder of the executable.
QString programFolder();
void setProgramFolder(const QString& folder);
// A file name in the program folder, joined with the platform's separator.
QString programFile(const QString& fileName);

// Where the files the program comes with are (artwork, clock, fonts/): the executable's folder
// when they are beside it, else <prefix>/share/corvanta when that exists, else the executable's
// folder.
QString sharedFolder(const QString& executableFolder = QString());

// Chooses the program folder at start, unless setProgramFolder() chose one already: the
// executable's folder when it holds the program's files and can be written; otherwise
// `dataFolder` ($XDG_DATA_HOME/corvanta by default), made when missing, with the default
// picture, the clock and the pictures of the small windows copied into it from the shared folder
// when they are not there yet. Returns the empty text, or why the folder could not be made,
// in Persian.
QString prepareProgramFolder(const QString& executableFolder = QString(), const QString& dataFolder = QString());

// A path as a Persian message shows it: the system's separators, held together left to right
// by invisible marks, so that its leading separator does not jump to the other end.
QString displayPath(const QString& path);
