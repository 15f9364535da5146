#include "ui/form_registry.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void registryLoadsOnce()
    {
        TestProgram program;
        QVERIFY(!forms().isLoaded<Form1>());
        Form1* first = forms().get<Form1>();
        QCOMPARE(forms().get<Form1>(), first);
        forms().unload<Form1>();
        QVERIFY(!forms().isLoaded<Form1>());
    }

    // Tahoma where installed; else the face the set-up placed beside the executable; else
    // Nazli. Whichever it is covers every Persian letter the program writes.
    void persianFaceForTheWholeProgram()
    {
        TestProgram program;
        startProgram();
        const QStringList installed = QFontDatabase::families();
        const bool shipped = QDir(QCoreApplication::applicationDirPath())
                                 .exists(QStringLiteral("fonts/Vazirmatn-Regular.ttf"));
        QString expected;
        if (installed.contains(QStringLiteral("Tahoma")))
            expected = QStringLiteral("Tahoma");
        else if (shipped)
            expected = QStringLiteral("Vazirmatn");
        else if (installed.contains(QStringLiteral("Nazli")))
            expected = QStringLiteral("Nazli");
        else
            QSKIP("neither Tahoma, our face, nor fonts-farsiweb is installed");
        const QFont font = QApplication::font();
        QCOMPARE(font.family(), expected);
        const QFontMetrics metrics(font);
        const QString letters = QStringLiteral("ابپتثجچحخدذرزژسشصضطظعغفقکگلمنوهيیكأآ۰۱۲۳۴۵۶۷۸۹");
        for (const QChar letter : letters)
            QVERIFY2(metrics.inFont(letter), qPrintable(QString(letter)));
        QVERIFY(!QApplication::quitOnLastWindowClosed());
        QCOMPARE(QApplication::layoutDirection(), Qt::RightToLeft);
        // Qt's own dialogs (file dialog, print preview) speak Persian too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("انصراف"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
