#include "storage/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& chosenFolder()
{
    static QString folder;
    return folder;
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
