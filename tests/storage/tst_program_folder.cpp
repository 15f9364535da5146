#include "storage/program_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Where the program keeps db.mdb, its picture and its clock: beside a build's executable, in
// the user's data folder when installed.
class TestProgramFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString path(const QString& name) const { return m_root.filePath(name); }
    static void put(const QString& file, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    static QByteArray bytesOf(const QString& file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("missing");
    }

private Q_SLOTS:
    void init() { setProgramFolder(QString()); }
    void cleanup()
    {
        setProgramFolder(QString());
        QFile::setPermissions(path("build"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A build folder holds the artwork beside the executable and stays the program folder.
    void buildFolderStaysTheProgramFolder()
    {
        put(path("build/corvanta.jpg"), "ours");
        put(path("build/fonts/Vazirmatn-Regular.ttf"), "face");
        QCOMPARE(prepareProgramFolder(path("build"), path("data")), QString());
        QCOMPARE(sharedFolder(path("build")), path("build"));
        QVERIFY(!QFileInfo::exists(path("data")));
    }

    // Installed: bin/ holds only the executable, share/corvanta the rest. The user's folder is
    // made and gets the default picture and the clock; a picture already there is kept.
    void installedProgramUsesTheDataFolder()
    {
        put(path("usr/bin/corvanta"), "program");
        put(path("usr/share/corvanta/corvanta.jpg"), "picture");
        put(path("usr/share/corvanta/clock1.swf"), "clock");
        put(path("usr/share/corvanta/about.png"), "about");
        QFile::setPermissions(path("usr/share/corvanta/clock1.swf"), QFile::ReadOwner | QFile::ReadOther);

        QCOMPARE(prepareProgramFolder(path("usr/bin"), path("home/data/corvanta")), QString());
        QCOMPARE(programFolder(), path("home/data/corvanta"));
        QCOMPARE(sharedFolder(path("usr/bin")), path("usr/share/corvanta"));
        QCOMPARE(bytesOf(programFile("corvanta.jpg")), QByteArray("picture"));
        QCOMPARE(bytesOf(programFile("clock1.swf")), QByteArray("clock"));
        QCOMPARE(bytesOf(programFile("about.png")), QByteArray("about"));
        QVERIFY(QFileInfo(programFile("clock1.swf")).isWritable());

        put(programFile("corvanta.jpg"), "the user's own");
        setProgramFolder(QString());
        QCOMPARE(prepareProgramFolder(path("usr/bin"), path("home/data/corvanta")), QString());
        QCOMPARE(bytesOf(programFile("corvanta.jpg")), QByteArray("the user's own"));
    }

    void readOnlyFolderUsesTheDataFolder()
    {
        if (::geteuid() == 0)
            QSKIP("root may write in any folder");
        put(path("build/corvanta.jpg"), "ours");
        QFile::setPermissions(path("build"), QFile::ReadOwner | QFile::ExeOwner);
        QCOMPARE(prepareProgramFolder(path("build"), path("data")), QString());
        QCOMPARE(programFolder(), path("data"));
        QCOMPARE(bytesOf(path("data/corvanta.jpg")), QByteArray("ours"));
    }

    void dataFolderThatCannotBeMadeIsTold()
    {
        put(path("usr/share/corvanta/corvanta.jpg"), "picture");
        QDir().mkpath(path("usr/bin"));
        put(path("blocked"), "a file where the folder should go");
        const QString problem = prepareProgramFolder(path("usr/bin"), path("blocked/corvanta"));
        QVERIFY(problem.contains(QStringLiteral("ساخته نشد")));
        QVERIFY(problem.contains(QDir::toNativeSeparators(path("blocked/corvanta"))));
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_program_folder.moc"
