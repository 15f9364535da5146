// How long the staff wait after answering "yes" to the exit question, with a busy shop's
// database (see shop_data.h) loaded in every window: until the event loop ends, and until the
// application object is gone.
// Run: build with -DCORVANTA_BENCH=ON, then QT_QPA_PLATFORM=offscreen ./bench_quit
// (with XDG_CONFIG_HOME pointing at an empty folder, so no stored login stops the start).
#include "app/main_window.h"
#include "app/startup.h"
#include "shop_data.h"
#include "storage/program_folder.h"
#include "ui/form_registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Clicks "yes" in the exit question as soon as it shows, and starts the clock there.
void answerYes(QElapsedTimer& timer)
{
    QTimer::singleShot(20, [&timer] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return answerYes(timer);
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
            if (button->text() == QStringLiteral("بله")) {
                timer.start();
                std::printf("yes clicked at %lld ms since the epoch\n", QDateTime::currentMSecsSinceEpoch());
                std::fflush(stdout);
                button->click();
            }
    });
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir folder;
    QElapsedTimer timer;
    double loopEnded = 0;
    {
        QApplication app(argc, argv);
        setProgramFolder(folder.path());
        // The artwork the build drew (picture, clock), as in a real program folder.
        const QDir built(QCoreApplication::applicationDirPath());
        for (const QString& name : built.entryList({QStringLiteral("*.swf"), QStringLiteral("*.jpg"), QStringLiteral("*.png")}))
            QFile::copy(built.filePath(name), folder.filePath(name));
        bench::createShopDatabase(folder.path() + QStringLiteral("/db.mdb"));
        Database::closeAll();
        startProgram();
        QTimer::singleShot(200, [&timer] {
            answerYes(timer);
            // The exit item clicked on the menu bar, as the staff do.
            QMenuBar* bar = forms().get<Form1>()->menuBar();
            const QPointF at = bar->actionGeometry(bar->findChild<QAction*>(QStringLiteral("exit"))).center();
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent event(type, at, bar->mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(bar, &event);
            }
        });
        QApplication::exec();
        loopEnded = msSince(timer);
    }
    std::printf("after \"yes\": event loop ended %.0f ms, application gone %.0f ms\n", loopEnded, msSince(timer));
    return 0;
}
