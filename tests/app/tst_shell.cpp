// The program's shell: start-up (face, translation), the main window (menu, commands, exit and
// closing, statistics, date, layout, clock, backup file dialog) and the about box.
#include "app/about_box.h"
#include "app/clock_animation.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "calendar/solar_hijri.h"
#include "catalogue/list_windows.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "storage/program_folder.h"
#include "support/fixtures.h"
#include "ui/common_dialog.h"
#include "ui/form_registry.h"
#include "ui/geometry.h"

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTest>
#include <QtMath>

using fixtures::exec;
using fixtures::ModalWatch;

namespace {

// The menu top to bottom: level, name, [caption] ("-" separators), shortcut, ">" for a submenu.
const QStringList kMenu = {
    QStringLiteral("1 aaa [   ثبت اطلاعات   ]  >"),
    QStringLiteral("2 asd [ثبت پنل جديد         ]  >"),
    QStringLiteral("3 win1 [ويندوز        ] Ctrl+W"),
    QStringLiteral("3 fv [-] "),
    QStringLiteral("3 dsa [لينوکس          ] Ctrl+L"),
    QStringLiteral("2 sdddsdsd [-] "),
    QStringLiteral("2 domin [ثبت پسوند دامنه جديد] "),
    QStringLiteral("2 egefc [-] "),
    QStringLiteral("2 defsf [ثبت مشتري جديد] "),
    QStringLiteral("1 ajaja [   ويرايش اطلاعات   ]  >"),
    QStringLiteral("2 editpanl [ويرايش پنل]  >"),
    QStringLiteral("3 win [ويندوز        ] Ctrl+E"),
    QStringLiteral("3 lkkjh [-] "),
    QStringLiteral("3 lkdgd [لينوکس        ] Ctrl+N"),
    QStringLiteral("2 ijiij [-] "),
    QStringLiteral("2 lkjkff [ويرايش پسوند دامنه] "),
    QStringLiteral("2 kjkjf [-] "),
    QStringLiteral("2 llahf [ويرايش مشتري] "),
    QStringLiteral("1 al [   عمليات   ]  >"),
    QStringLiteral("2 lllala [ثبت سفارش جديد] "),
    QStringLiteral("2 jbjsdfhgbvhdsgf [-] "),
    QStringLiteral("2 viewsfarsh [ويرايش سفارش] "),
    QStringLiteral("2 sepRenewals [-] "),
    QStringLiteral("2 renewals [سرويس هاي نزديک به تمديد] "),
    QStringLiteral("1 options [   تنظيمات    ]  >"),
    QStringLiteral("2 tah [   تهسيلات]  >"),
    QStringLiteral("3 setbackup [پشتيبان گيري] "),
    QStringLiteral("3 nnknkn [-] "),
    QStringLiteral("3 getbackup [بازيابي پشتيبان] "),
    QStringLiteral("2 sfsdfsdf [-] "),
    QStringLiteral("2 optionprint [   تنظيمات فاکتور    ] "),
    QStringLiteral("2 jkjk [-] "),
    QStringLiteral("2 toolssoft [   تنظيمات نرم افزار] "),
    QStringLiteral("1 ab [   درباره ما   ] "),
    QStringLiteral("1 exit [    خروج    ] "),
};

void walk(const QList<QAction*>& actions, int level, QStringList& out)
{
    for (QAction* action : actions) {
        out << QStringLiteral("%1 %2 [%3] %4%5")
                   .arg(level)
                   .arg(action->objectName(), action->isSeparator() ? QStringLiteral("-") : action->text(),
                        action->shortcut().toString(QKeySequence::PortableText),
                        action->menu() ? QStringLiteral(" >") : QString());
        if (QMenu* menu = action->menu())
            walk(menu->actions(), level + 1, out);
    }
}

Form1* shownMainWindow()
{
    Form1* main = forms().get<Form1>();
    main->show();
    return QTest::qWaitForWindowExposed(main) ? main : nullptr;
}

// Copies a file the build drew beside the test program into the test's program folder.
bool copyArtwork(const QString& name)
{
    return QFile::copy(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name, programFile(name));
}

QPointF handPoint(qreal degreesFromTwelve, qreal radius)
{
    const qreal a = qDegreesToRadians(degreesFromTwelve);
    return QPointF(100 + radius * std::sin(a), 100 - radius * std::cos(a));
}

bool near(QRgb pixel, QColor colour, int tolerance = 40)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }

    // Tahoma where installed; else the face the set-up placed beside the executable; else
    // Nazli. It covers every Persian letter; Qt's own dialogs speak Persian too.
    void persianFaceAndTranslation()
    {
        startProgram();
        const QStringList installed = QFontDatabase::families();
        const QString expected = installed.contains(QStringLiteral("Tahoma"))      ? QStringLiteral("Tahoma")
                                 : installed.contains(QStringLiteral("Vazirmatn")) ? QStringLiteral("Vazirmatn")
                                                                                   : QStringLiteral("Nazli");
        if (!installed.contains(expected))
            QSKIP("neither Tahoma, our face, nor fonts-farsiweb is installed");
        QCOMPARE(QApplication::font().family(), expected);
        const QFontMetrics metrics(QApplication::font());
        for (const QChar letter : QStringLiteral("ابپتثجچحخدذرزژسشصضطظعغفقکگلمنوهيیكأآ۰۱۲۳۴۵۶۷۸۹"))
            QVERIFY2(metrics.inFont(letter), qPrintable(QString(letter)));
        QVERIFY(!QApplication::quitOnLastWindowClosed());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("انصراف"));
    }

    void menuTree()
    {
        Form1* window = forms().get<Form1>();
        QStringList seen;
        walk(window->menuBar()->actions(), 1, seen);
        QCOMPARE(seen, kMenu);
        QCOMPARE(window->menuBar()->layoutDirection(), Qt::RightToLeft);
    }

    void commandShowsItsWindow_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("table"); // -1: no new-record state
        const QList<std::tuple<const char*, const char*, int>> rows = {
            {"win1", "Form2", int(Table::winhost)}, {"dsa", "Form3", int(Table::linhost)},
            {"domin", "Form4", int(Table::newdomin)}, {"defsf", "Form5", int(Table::newmoshtary)},
            {"lllala", "Form10", int(Table::ss)}, {"win", "Form6", -1}, {"lkdgd", "Form7", -1},
            {"lkjkff", "Form8", -1}, {"llahf", "Form9", -1}, {"viewsfarsh", "Form14", -1}, {"renewals", "Renewals", -1},
            {"optionprint", "Form15", -1}, {"toolssoft", "Form16", -1}, {"ab", "Form17", -1}};
        for (const auto& [item, window, table] : rows)
            QTest::newRow(item) << item << window << table;
    }

    // Each command opens its window modally; the new-record commands first put the table's
    // edit state to key 0, editing off, keeping the saved flag.
    void commandShowsItsWindow()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(int, table);
        if (table >= 0)
            editState(Table(table)) = EditState{7, true, true};
        EditState during;
        ModalAnswerer answer([&](QWidget* modal) {
            if (table >= 0)
                during = editState(Table(table));
            modal->close();
        });
        forms().get<Form1>()->findChild<QAction*>(item)->trigger();
        QTRY_VERIFY(answer.done());
        QCOMPARE(answer.seen().objectName, window);
        if (table >= 0)
            QVERIFY(during.recordKey == 0 && !during.editing && during.saved);
        QCOMPARE(m_program->endCount, 0);
    }

    // The shortcuts are in the menu tree; one shows that they reach the command. Double clicks
    // on two statistics captions open their lists.
    void shortcutAndDoubleClicks()
    {
        Form1* main = shownMainWindow();
        QVERIFY(main);
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        const QList<std::pair<std::function<void()>, QString>> gestures = {
            {[main] { QTest::keyClick(main, Qt::Key_N, Qt::ControlModifier); }, QStringLiteral("Form7")},
            {[main] { QTest::mouseDClick(main->Label1, Qt::LeftButton); }, QStringLiteral("Form9")},
            {[main] { QTest::mouseDClick(main->Label3, Qt::LeftButton); }, QStringLiteral("Form8")}};
        for (const auto& [gesture, window] : gestures) {
            ModalAnswerer answer([](QWidget* modal) { modal->close(); });
            gesture();
            QTRY_VERIFY(answer.done());
            QCOMPARE(answer.seen().objectName, window);
        }
    }

    void exitAsksFirstAndTheCloseBoxDoesNot()
    {
        Form1* main = forms().get<Form1>();
        for (bool yes : {false, true}) {
            ModalAnswerer answer(yes ? fixtures::kYes : fixtures::kNo);
            main->findChild<QAction*>(QStringLiteral("exit"))->trigger();
            QCOMPARE(answer.seen().text, QStringLiteral("آيا ميخواهيد از نرم افزار خارج شويد"));
            QCOMPARE(answer.seen().title, QStringLiteral("منوي خروج"));
            QCOMPARE(m_program->endCount, yes ? 1 : 0);
            QCOMPARE(forms().isLoaded<Form1>(), !yes);
        }
        main = shownMainWindow();
        QVERIFY(fixtures::showsNothing([main] { QVERIFY(main->close()); }));
        QCOMPARE(m_program->endCount, 2);
        QVERIFY(!forms().isLoaded<Form1>());
    }

    // The counts are the list windows' record counts, set once at load (the lists stay loaded,
    // hidden); the date is today's. A program folder whose name holds ";" or quotes is used as
    // it is, not cut at the ";".
    void countsAndDate_data()
    {
        QTest::addColumn<QString>("folder"); // under the test's folder; empty: that folder itself
        QTest::newRow("ordinary folder") << QString();
        QTest::newRow("folder with ; and quotes") << QStringLiteral("shop;2026 \"main\"");
    }
    void countsAndDate()
    {
        QFETCH(QString, folder);
        if (!folder.isEmpty()) {
            QVERIFY(QDir(m_program->folder()).mkdir(folder));
            setProgramFolder(QDir(m_program->folder()).filePath(folder));
        }
        const QList<std::tuple<const char*, int, QLabel* Form1::*>> tables = {
            {"winhost", 2, &Form1::Label6}, {"linhost", 1, &Form1::Label8}, {"newdomin", 3, &Form1::Label4},
            {"newmoshtary", 4, &Form1::Label2}, {"ss", 5, &Form1::Label10}};
        for (const auto& [table, rowCount, label] : tables)
            for (int i = 0; i < rowCount; ++i)
                QVERIFY(exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QString::fromLatin1(table))));
        Form1* main = forms().get<Form1>();
        for (const auto& [table, rowCount, label] : tables)
            QCOMPARE((main->*label)->text(), QString::number(rowCount));
        QVERIFY(exec(QStringLiteral("INSERT INTO newmoshtary DEFAULT VALUES")));
        QCOMPARE(main->Label2->text(), QStringLiteral("4"));
        QVERIFY(forms().isLoaded<Form6>() && !forms().get<Form9>()->isVisible());
        QCOMPARE(main->Label14->text(), PersianDateText(QDate::currentDate(), 3));
        if (!folder.isEmpty())
            QCOMPARE(QDir(m_program->folder()).entryList(QDir::Files), QStringList());
    }

    // A db.mdb that cannot be used is told once, in Persian but for its path.
    void unreadableCountsKeepTheirDesignText_data()
    {
        QTest::addColumn<bool>("cutShort"); // a database of the program missing its end, else a text file
        QTest::newRow("text file") << false;
        QTest::newRow("database cut short") << true;
    }
    void unreadableCountsKeepTheirDesignText()
    {
        QFETCH(bool, cutShort);
        QFile file(m_program->dbPath());
        if (cutShort) {
            QVERIFY(exec(QStringLiteral("CREATE TABLE filler(x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 "
                                        "FROM n WHERE i<500) INSERT INTO filler SELECT randomblob(200) FROM n")));
            Database::closeAll();
            QVERIFY(file.resize(file.size() / 2));
        } else {
            const QByteArray garbage = "this is not a database of the program\n";
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(garbage) == garbage.size());
            file.close();
        }
        ModalWatch watch;
        Form1* main = forms().get<Form1>();
        for (QLabel* label : {main->Label2, main->Label4, main->Label6, main->Label8, main->Label10})
            QCOMPARE(label->text(), QStringLiteral("0 عدد"));
        QCOMPARE(m_program->databaseProblems.size(), 1);
        const QString told = QString(m_program->databaseProblems.first()).remove(displayPath(m_program->dbPath()));
        QVERIFY2(!told.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(told));
    }

    // The picture fills the space left of the side panel, the panel stands at the right edge,
    // and both follow a resize; every caption shows whole in the program's face.
    void layoutFillsTheWindow()
    {
        startProgram();
        Form1* main = shownMainWindow();
        QVERIFY(main);
        const int margin = twipsToPixels(120);
        for (const QSize size : {QSize(1600, 1000), QSize(1024, 768)}) {
            main->setWindowState(Qt::WindowNoState);
            main->resize(size);
            QTRY_COMPARE(main->size(), size);
            const QWidget* client = main->centralWidget();
            const QRect picture = main->Image1->geometry();
            const QRect panel(main->Shape1->mapTo(client, QPoint()), main->Shape1->size());
            QCOMPARE(panel.right(), client->width() - margin - 1);
            QCOMPARE(picture.left(), margin);
            QCOMPARE(panel.left() - picture.right() - 1, margin);
            QCOMPARE(picture.bottom(), client->height() - margin - 1);
            QCOMPARE(panel.height(), picture.height());
        }
        main->Label2->setText(QStringLiteral("12345"));
        fitLabel(main->Label2);
        for (QLabel* label : main->findChildren<QLabel*>()) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(label->contentsRect().width() >= metrics.horizontalAdvance(label->text()), qPrintable(label->objectName()));
            QVERIFY2(label->contentsRect().height() >= metrics.height() || label->text().isEmpty(), qPrintable(label->objectName()));
        }
    }

    // The backup dialog is Qt's own, in Persian: Persian column captions, a Solar Hijri date,
    // the filter kept left to right, and no mnemonic inside a Persian word.
    void backupDialogSpeaksPersian()
    {
        const QString file = QDir(m_program->folder()).filePath(QStringLiteral("shop.Backup"));
        QFile backup(file);
        QVERIFY(backup.open(QIODevice::WriteOnly) && backup.write("123456") == 6 && backup.flush());
        backup.setFileTime(QDateTime(QDate(2025, 3, 21), QTime(9, 30)), QFileDevice::FileModificationTime);
        backup.close();
        Form1* main = forms().get<Form1>();
        main->CommonDialog1->FileName = file;
        QStringList cells, mnemonics;
        QString filter;
        ModalAnswerer answer([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog && dialog->testOption(QFileDialog::DontUseNativeDialog));
            const QAbstractProxyModel* proxy = dialog->proxyModel();
            const auto* files = qobject_cast<const QFileSystemModel*>(proxy->sourceModel());
            QTRY_VERIFY(files->index(file).isValid());
            for (int column = 0; column < 4; ++column)
                cells << proxy->headerData(column, Qt::Horizontal).toString()
                      << proxy->mapFromSource(files->index(file, column)).data().toString();
            filter = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
            const QRegularExpression persianMnemonic(QStringLiteral("&\\p{Arabic}"));
            for (const QWidget* widget : dialog->findChildren<QWidget*>())
                if (widget->property("text").toString().contains(persianMnemonic))
                    mnemonics << widget->property("text").toString();
            dialog->reject();
        });
        QVERIFY(!main->CommonDialog1->ShowSave(main));
        QCOMPARE(cells, (QStringList{QStringLiteral("نام"), QStringLiteral("shop.Backup"), QStringLiteral("اندازه"),
                                     QStringLiteral("6 بايت"), QStringLiteral("نوع"), QStringLiteral("فايل پشتيبان"),
                                     QStringLiteral("تاريخ تغيير"), QStringLiteral("1404/01/01  09:30")}));
        QCOMPARE(filter, QChar(0x2066) + QStringLiteral("(*.Backup)") + QChar(0x2069));
        QCOMPARE(mnemonics, QStringList());
        QCOMPARE(main->CommonDialog1->FileName, file);
    }

    // Without its file the clock box stays empty; with it the clock plays, all of it, as large
    // as fits, centred, its hands at the time of day (03:00:45: hour hand right, minute hand
    // just past twelve, second hand left).
    void clock()
    {
        Form1* main = forms().get<Form1>();
        QVERIFY(!main->ShockwaveFlash1->isPlaying());
        QVERIFY(copyArtwork(QStringLiteral("clock1.swf")));
        QVERIFY(main->ShockwaveFlash1->setMovie(programFile(QStringLiteral("clock1.swf"))));
        const QRectF shown = main->ShockwaveFlash1->movieRect();
        const QRectF box = main->ShockwaveFlash1->rect();
        QVERIFY(box.contains(shown) && qAbs(shown.center().x() - box.center().x()) < 1);
        QVERIFY(qFuzzyCompare(shown.width(), box.width()) || qFuzzyCompare(shown.height(), box.height()));

        QFile file(programFile(QStringLiteral("clock1.swf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QSvgRenderer renderer(clockDocumentAt(file.readAll(), 3 * 3600 + 45));
        QVERIFY(renderer.isValid() && renderer.animated());
        QImage image(200, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, 200, 200));
        painter.end();
        const QColor hour(0x0e, 0x2a, 0x47), minute(0x11, 0x7a, 0x8b);
        QVERIFY(near(image.pixel(handPoint(90, 35).toPoint()), hour));
        QVERIFY(!near(image.pixel(handPoint(0, 35).toPoint()), hour));
        QVERIFY(near(image.pixel(handPoint(45.0 / 3600 * 360, 55).toPoint()), minute));
        const QRgb secondHand = image.pixel(handPoint(270, 60).toPoint());
        QVERIFY2(qRed(secondHand) > 150 && qGreen(secondHand) < 150, "second hand not at 45 s");
    }

    void aboutBox()
    {
        QVERIFY(copyArtwork(QStringLiteral("about.png")));
        const QImage picture(Form17::pictureFile());
        QVERIFY(!picture.isNull());
        Form17* about = forms().get<Form17>();
        QCOMPARE(about->windowTitle(), QStringLiteral("      درباره ما"));
        // The picture shows from the top left; the link is an invisible area over it.
        const QImage shown = about->grab().toImage();
        for (const QPoint& at : {QPoint(5, 5), QPoint(200, 100), QPoint(150, 210)})
            QVERIFY(near(shown.pixel(at), picture.pixel(at), 8));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTest::mouseClick(about->Image1, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.opened, QList<QUrl>{Form17::webSite()});
        QCOMPARE(Form17::webSite().scheme(), QStringLiteral("https"));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
