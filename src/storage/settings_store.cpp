#include "storage/settings_store.h"

#include <QSettings>

namespace SettingsStore {

namespace {
QString groupKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QString read(const QString& section, const QString& key)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, kApplication);
    return store.value(groupKey(section, key), QString()).toString();
}

void write(const QString& section, const QString& key, const QString& value)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, kApplication);
    store.setValue(groupKey(section, key), value);
    store.sync();
}

} // namespace SettingsStore
