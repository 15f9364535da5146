// The main window: its menu tree, the commands behind it, exit and closing, the statistics
// panel, the date, the clock, and the about box.
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

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>
#include <QtMath>

using fixtures::exec;
using fixtures::kNo;
using fixtures::kYes;
using fixtures::ModalWatch;
using fixtures::showsNothing;

namespace {


// The menu as the user sees it, top to bottom: level, name, caption, shortcut ("-" separators).
struct ExpectedItem
{
    int level;
    QString name;
    QString caption;
    QString shortcut;
};

const QList<ExpectedItem> kMenu = {
    {1, QStringLiteral("aaa"), QStringLiteral("   ثبت اطلاعات   "), QStringLiteral("")},
    {2, QStringLiteral("asd"), QStringLiteral("ثبت پنل جديد         "), QStringLiteral("")},
    {3, QStringLiteral("win1"), QStringLiteral("ويندوز        "), QStringLiteral("Ctrl+W")},
    {3, QStringLiteral("fv"), QStringLiteral("-"), QStringLiteral("")},
    {3, QStringLiteral("dsa"), QStringLiteral("لينوکس          "), QStringLiteral("Ctrl+L")},
    {2, QStringLiteral("sdddsdsd"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("domin"), QStringLiteral("ثبت پسوند دامنه جديد"), QStringLiteral("")},
    {2, QStringLiteral("egefc"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("defsf"), QStringLiteral("ثبت مشتري جديد"), QStringLiteral("")},
    {1, QStringLiteral("ajaja"), QStringLiteral("   ويرايش اطلاعات   "), QStringLiteral("")},
    {2, QStringLiteral("editpanl"), QStringLiteral("ويرايش پنل"), QStringLiteral("")},
    {3, QStringLiteral("win"), QStringLiteral("ويندوز        "), QStringLiteral("Ctrl+E")},
    {3, QStringLiteral("lkkjh"), QStringLiteral("-"), QStringLiteral("")},
    {3, QStringLiteral("lkdgd"), QStringLiteral("لينوکس        "), QStringLiteral("Ctrl+N")},
    {2, QStringLiteral("ijiij"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("lkjkff"), QStringLiteral("ويرايش پسوند دامنه"), QStringLiteral("")},
    {2, QStringLiteral("kjkjf"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("llahf"), QStringLiteral("ويرايش مشتري"), QStringLiteral("")},
    {1, QStringLiteral("al"), QStringLiteral("   عمليات   "), QStringLiteral("")},
    {2, QStringLiteral("lllala"), QStringLiteral("ثبت سفارش جديد"), QStringLiteral("")},
    {2, QStringLiteral("jbjsdfhgbvhdsgf"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("viewsfarsh"), QStringLiteral("ويرايش سفارش"), QStringLiteral("")},
    {2, QStringLiteral("sepRenewals"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("renewals"), QStringLiteral("سرويس هاي نزديک به تمديد"), QStringLiteral("")},
    {1, QStringLiteral("options"), QStringLiteral("   تنظيمات    "), QStringLiteral("")},
    {2, QStringLiteral("tah"), QStringLiteral("   تهسيلات"), QStringLiteral("")},
    {3, QStringLiteral("setbackup"), QStringLiteral("پشتيبان گيري"), QStringLiteral("")},
    {3, QStringLiteral("nnknkn"), QStringLiteral("-"), QStringLiteral("")},
    {3, QStringLiteral("getbackup"), QStringLiteral("بازيابي پشتيبان"), QStringLiteral("")},
    {2, QStringLiteral("sfsdfsdf"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("optionprint"), QStringLiteral("   تنظيمات فاکتور    "), QStringLiteral("")},
    {2, QStringLiteral("jkjk"), QStringLiteral("-"), QStringLiteral("")},
    {2, QStringLiteral("toolssoft"), QStringLiteral("   تنظيمات نرم افزار"), QStringLiteral("")},
    {1, QStringLiteral("ab"), QStringLiteral("   درباره ما   "), QStringLiteral("")},
    {1, QStringLiteral("exit"), QStringLiteral("    خروج    "), QStringLiteral("")},
};

// One line per item: level, name, caption ("-" for a separator), shortcut, ">" for a submenu.
QString line(int level, const QString& name, const QString& caption, const QString& shortcut, bool submenu)
{
    return QStringLiteral("%1 %2 [%3] %4%5").arg(level).arg(name, caption, shortcut, submenu ? QStringLiteral(" >") : QString());
}

void walk(const QList<QAction*>& actions, int level, QStringList& out)
{
    for (QAction* action : actions) {
        out << line(level, action->objectName(), action->isSeparator() ? QStringLiteral("-") : action->text(),
                    action->shortcut().toString(QKeySequence::PortableText), action->menu() != nullptr);
        if (QMenu* menu = action->menu())
            walk(menu->actions(), level + 1, out);
    }
}

QAction* menuAction(Form1* window, const QString& name)
{
    for (QAction* action : window->findChildren<QAction*>())
        if (action->objectName() == name)
            return action;
    return nullptr;
}

// Copies a file the build drew beside the test program into the test's program folder.
bool copyArtwork(const QString& name)
{
    const QString from = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    return QFile::copy(from, programFile(name));
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

class TestMainWindow : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> m_program;

private Q_SLOTS:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }
    void menuTreeMatchesTheDesign()
    {
        Form1* window = forms().get<Form1>();
        QStringList seen, want;
        walk(window->menuBar()->actions(), 1, seen);
        for (qsizetype i = 0; i < kMenu.size(); ++i)
            want << line(kMenu[i].level, kMenu[i].name, kMenu[i].caption, kMenu[i].shortcut,
                         i + 1 < kMenu.size() && kMenu[i + 1].level > kMenu[i].level);
        QCOMPARE(seen, want);
        QCOMPARE(window->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(window->menuBar()->layoutDirection(), Qt::RightToLeft);
    }

    void commandShowsItsWindow_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("table"); // -1: no new-record state
        QTest::newRow("win1") << "win1" << "Form2" << int(Table::winhost);
        QTest::newRow("dsa") << "dsa" << "Form3" << int(Table::linhost);
        QTest::newRow("domin") << "domin" << "Form4" << int(Table::newdomin);
        QTest::newRow("defsf") << "defsf" << "Form5" << int(Table::newmoshtary);
        QTest::newRow("lllala") << "lllala" << "Form10" << int(Table::ss);
        QTest::newRow("win") << "win" << "Form6" << -1;
        QTest::newRow("lkdgd") << "lkdgd" << "Form7" << -1;
        QTest::newRow("lkjkff") << "lkjkff" << "Form8" << -1;
        QTest::newRow("llahf") << "llahf" << "Form9" << -1;
        QTest::newRow("viewsfarsh") << "viewsfarsh" << "Form14" << -1;
        QTest::newRow("renewals") << "renewals" << "Renewals" << -1;
        QTest::newRow("optionprint") << "optionprint" << "Form15" << -1;
        QTest::newRow("toolssoft") << "toolssoft" << "Form16" << -1;
        QTest::newRow("ab") << "ab" << "Form17" << -1;
    }

    // Each command opens its window modally; the new-record commands first put the table's
    // edit state to key 0, editing off, keeping the saved flag.
    void commandShowsItsWindow()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(int, table);
        Form1* main = forms().get<Form1>();
        if (table >= 0)
            editState(Table(table)) = EditState{7, true, true};
        EditState during;
        ModalAnswerer answer([&](QWidget* modal) {
            if (table >= 0)
                during = editState(Table(table));
            modal->close();
        });
        QAction* action = menuAction(main, item);
        QVERIFY(action);
        action->trigger();
        QTRY_VERIFY(answer.done());
        QCOMPARE(answer.seen().objectName, window);
        if (table >= 0) {
            QCOMPARE(during.recordKey, 0);
            QCOMPARE(during.editing, false);
            QCOMPARE(during.saved, true);
        }
        QCOMPARE(m_program->endCount, 0);
    }

    // The shortcuts themselves are in the menu tree; one shows that they reach the command.
    void shortcutRunsItsCommand()
    {
        Form1* main = forms().get<Form1>();
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        ModalAnswerer answer([](QWidget* modal) { modal->close(); });
        QTest::keyClick(main, Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(answer.done());
        QCOMPARE(answer.seen().objectName, QStringLiteral("Form7"));
    }

    void exitAsksFirst()
    {
        Form1* main = forms().get<Form1>();
        QAction* exitAction = menuAction(main, QStringLiteral("exit"));
        for (bool yes : {false, true}) {
            ModalAnswerer answer(yes ? kYes : kNo);
            exitAction->trigger();
            QCOMPARE(answer.seen().text, QStringLiteral("آيا ميخواهيد از نرم افزار خارج شويد"));
            QCOMPARE(answer.seen().title, QStringLiteral("منوي خروج"));
            QCOMPARE(m_program->endCount, yes ? 1 : 0);
            QCOMPARE(forms().isLoaded<Form1>(), !yes);
        }
    }

    void closeBoxEndsTheProgramWithoutAQuestion()
    {
        Form1* main = forms().get<Form1>();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(showsNothing([main] { QVERIFY(main->close()); }));
        QCOMPARE(m_program->endCount, 1);
        QVERIFY(!forms().isLoaded<Form1>());
    }

    // The counts are the list windows' record counts, set once at load; the list windows are
    // loaded hidden for it and stay loaded.
    void countsAreTheListsRecordCounts()
    {
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
        QVERIFY(forms().isLoaded<Form6>() && forms().isLoaded<Form9>());
        QVERIFY(!forms().get<Form9>()->isVisible());
    }

    void unreadableCountsKeepTheirDesignText()
    {
        const QByteArray garbage = "this is not a database of the program\n";
        QFile file(m_program->dbPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(garbage) == garbage.size());
        file.close();
        ModalWatch watch;
        Form1* main = forms().get<Form1>();
        for (QLabel* label : {main->Label2, main->Label4, main->Label6, main->Label8, main->Label10})
            QCOMPARE(label->text(), QStringLiteral("0 عدد"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbage);
    }

    void captionDoubleClicksOpenTheLists_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("window");
        QTest::newRow("customers") << "Label1" << "Form9";
        QTest::newRow("domain extensions") << "Label3" << "Form8";
    }

    void captionDoubleClicksOpenTheLists()
    {
        QFETCH(QString, caption);
        QFETCH(QString, window);
        Form1* main = forms().get<Form1>();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        auto* label = main->findChild<QLabel*>(caption);
        QVERIFY(label);
        ModalAnswerer answer([](QWidget* modal) { modal->close(); });
        QTest::mouseDClick(label, Qt::LeftButton);
        QTRY_VERIFY(answer.done());
        QCOMPARE(answer.seen().objectName, window);
    }

    void dateIsSetAtLoad()
    {
        Form1* main = forms().get<Form1>();
        QCOMPARE(main->Label14->text(), PersianDateText(QDate::currentDate(), 3));
    }

    // Persian faces run taller and wider than the layout's sizes: every caption shows whole.
    void noLabelIsCutOff()
    {
        startProgram(); // in the program's own face
        Form1* main = forms().get<Form1>();
        main->Label2->setText(QStringLiteral("12345"));
        fitLabel(main->Label2);
        for (QLabel* label : main->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            const QFontMetrics metrics(label->font());
            const QByteArray name = label->objectName().toUtf8();
            QVERIFY2(label->contentsRect().width() >= metrics.horizontalAdvance(label->text()),
                     name.constData());
            QVERIFY2(label->contentsRect().height() >= metrics.height(), name.constData());
        }
    }

    // With its file the clock plays, all of it, as large as fits, centred; without it the box
    // stays empty.
    void clock_data()
    {
        QTest::addColumn<bool>("fileThere");
        QTest::newRow("file there") << true;
        QTest::newRow("file missing") << false;
    }
    void clock()
    {
        QFETCH(bool, fileThere);
        if (fileThere)
            QVERIFY(copyArtwork(QStringLiteral("clock1.swf")));
        Form1* main = forms().get<Form1>();
        QCOMPARE(main->ShockwaveFlash1->isPlaying(), fileThere);
        if (fileThere) {
            const QRectF shown = main->ShockwaveFlash1->movieRect();
            const QRectF box = main->ShockwaveFlash1->rect();
            QVERIFY(box.contains(shown));
            QVERIFY(qFuzzyCompare(shown.width(), box.width()) || qFuzzyCompare(shown.height(), box.height()));
            QVERIFY(qAbs(shown.center().x() - box.center().x()) < 1);
            return;
        }
        QImage image(main->ShockwaveFlash1->size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        main->ShockwaveFlash1->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    }

    // The hands start at the time of day: at 03:00:45 the hour hand points right, the minute
    // hand just past twelve, the second hand left.
    void clockHandsShowTheTimeOfDay()
    {
        QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/clock1.swf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QSvgRenderer renderer(clockDocumentAt(file.readAll(), 3 * 3600 + 45));
        QVERIFY(renderer.isValid());
        QVERIFY(renderer.animated());
        QImage image(200, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, 200, 200));
        painter.end();
        const QColor hour(0x0e, 0x2a, 0x47), minute(0x11, 0x7a, 0x8b), second(0xd9, 0x48, 0x0f);
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

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
