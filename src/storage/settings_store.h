#pragma once
// The per-user settings store: application, section, key -> text. INI file in the user's
// configuration folder (QSettings user scope). Every read defaults to the empty text.
#include <QString>

namespace SettingsStore {

inline const QString kApplication = QStringLiteral("Sarvendo|Corvanta v1");
inline const QString kPrint = QStringLiteral("SettingPrint");
inline const QString kDesktop = QStringLiteral("SettingDesktop");
inline const QString kUser = QStringLiteral("SettingUser");

// The stored value, or the empty text when the key or its section does not exist.
QString read(const QString& section, const QString& key);
// Creates or replaces the value and flushes it to disk at once.
void write(const QString& section, const QString& key, const QString& value);

} // namespace SettingsStore
