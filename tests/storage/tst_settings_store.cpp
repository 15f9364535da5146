// The settings store: three-level names, Persian keys with blanks, empty text for missing keys.
#include "storage/settings_store.h"
#include "support/test_support.h"

#include <QSettings>
#include <QTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTripAndDefaults()
    {
        TestProgram program;
        const QString key = QStringLiteral("عنوان امضاء فروشنده");
        QCOMPARE(SettingsStore::read(SettingsStore::kPrint, key), QString());
        SettingsStore::write(SettingsStore::kPrint, key, QStringLiteral(" مهر و امضاء  "));
        QCOMPARE(SettingsStore::read(SettingsStore::kPrint, key), QStringLiteral(" مهر و امضاء  "));
        // Same key in another section is another value.
        QCOMPARE(SettingsStore::read(SettingsStore::kUser, key), QString());
        // Written through to disk: a new settings object sees it.
        QSettings raw(QSettings::IniFormat, QSettings::UserScope, SettingsStore::kApplication);
        QCOMPARE(raw.value(SettingsStore::kPrint + QLatin1Char('/') + key).toString(), QStringLiteral(" مهر و امضاء  "));
        // Cleared by writing the empty text, which reads like a missing key.
        SettingsStore::write(SettingsStore::kPrint, key, QString());
        QCOMPARE(SettingsStore::read(SettingsStore::kPrint, key), QString());
        QVERIFY(raw.fileName().contains(QStringLiteral("Sarvendo|Corvanta v1")));
    }
};

QTEST_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
