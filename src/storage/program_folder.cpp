#include "storage/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kCannotMake = QStringLiteral("پوشه اطلاعات برنامه «%1» ساخته نشد؛ اطلاعات در آن ذخيره نمي شود.");
const QString kCannotCopy = QStringLiteral("فايل «%1» در پوشه اطلاعات برنامه «%2» نوشته نشد.");

// The files the program comes with that it reads from the program folder. The default picture
// comes first: its presence marks a folder holding the program's files.
const char* const kShippedFiles[] = {"corvanta.jpg", "clock1.swf", "about.png", "login_key.png", "login_user.png"};

QString& chosenFolder()
{
    static QString folder;
    return folder;
}

QString executableFolderOr(const QString& folder)
{
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

QString defaultDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/corvanta");
}

bool holdsShippedFiles(const QString& folder)
{
    return QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(kShippedFiles[0]));
}

// Copies each shipped file the data folder lacks; files already there (a picture the user put
// in place of ours) are kept.
QString copyMissingFiles(const QString& from, const QString& to)
{
    for (const char* name : kShippedFiles) {
        const QString source = from + QLatin1Char('/') + QLatin1String(name);
        const QString target = to + QLatin1Char('/') + QLatin1String(name);
        if (QFileInfo::exists(target) || !QFileInfo::exists(source))
            continue;
        if (!QFile::copy(source, target))
            return kCannotCopy.arg(QLatin1String(name), displayPath(to));
        // Files copied from a read-only share folder stay writable for their user.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return {};
}

} // namespace

QString programFolder()
{
    if (!chosenFolder().isEmpty())
        return chosenFolder();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder)
{
    chosenFolder() = folder;
}

QString programFile(const QString& fileName)
{
    return QDir::toNativeSeparators(programFolder() + QLatin1Char('/') + fileName);
}

QString sharedFolder(const QString& executableFolder)
{
    const QString executable = executableFolderOr(executableFolder);
    if (holdsShippedFiles(executable))
        return executable;
    const QString installed = QDir::cleanPath(executable + QStringLiteral("/../share/corvanta"));
    return QFileInfo(installed).isDir() ? installed : executable;
}

QString prepareProgramFolder(const QString& executableFolder, const QString& dataFolder)
{
    if (!chosenFolder().isEmpty())
        return {};
    const QString executable = executableFolderOr(executableFolder);
    const QString shared = sharedFolder(executable);
    // An installed executable's folder is never the program folder, even for a user who may
    // write there (root and /usr/bin): the data belong in the user's folder, not beside programs.
    if (shared == executable && QFileInfo(executable).isWritable())
        return {};
    const QString data = dataFolder.isEmpty() ? defaultDataFolder() : dataFolder;
    setProgramFolder(data);
    if (!QDir().mkpath(data))
        return kCannotMake.arg(displayPath(data));
    return copyMissingFiles(shared, data);
}

QString displayPath(const QString& path)
{
    const QChar mark(0x200E); // left-to-right mark
    return mark + QDir::toNativeSeparators(path) + mark;
}
