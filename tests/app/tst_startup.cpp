#include "app/form_registry.h"
#include "app/main_window.h"
#include "support/test_support.h"

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
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
