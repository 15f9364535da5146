#pragma once
// The per-user settings store: application, section, key -> text. INI file in the user's
// configuration folder (QSettings user scope). Every read defaults to the empty text.
#include <QList>
#include <QString>

#include <utility>

namespace SettingsStore {

inline const QString kApplication = QStringLiteral("Sarvendo|Corvanta v1");
inline const QString kPrint = QStringLiteral("SettingPrint");
inline const QString kDesktop = QStringLiteral("SettingDesktop");
inline const QString kUser = QStringLiteral("SettingUser");
inline const QString kDatabase = QStringLiteral("Database");

// Keys of the section kDesktop.
inline const QString kKeyboardKey = QStringLiteral("Key");
inline const QString kPictureKey = QStringLiteral("عکس پشت زمينه");
// Keys of the section kUser: the login.
inline const QString kUserKey = QStringLiteral("Username");
inline const QString kPasswordKey = QStringLiteral("Password");
// Keys of the section kDatabase: the libpq connection string of the shop's PostgreSQL server;
// empty for the database file db.mdb. Never a password (that lives in libpq's password file).
inline const QString kServerKey = QStringLiteral("Server");
// Keys of the section kPrint: the texts and the logo of the invoice.
inline const QString kBusinessTitle = QStringLiteral("عنوان تجاري");
inline const QString kInvoiceTitle = QStringLiteral("عنوان فاکتور");
inline const QString kAddress = QStringLiteral("آدرس");
inline const QString kNotes = QStringLiteral("توضيحات");
inline const QString kCustomerSignature = QStringLiteral("عنوان امضاء مشتري");
inline const QString kSellerSignature = QStringLiteral("عنوان امضاء فروشنده");
inline const QString kLogoPath = QStringLiteral("لوگوي چاپ");

// The stored value, or the empty text when the key or its section does not exist.
QString read(const QString& section, const QString& key);
// Creates or replaces the values (key, text) of one section and flushes them to disk at once,
// all or none: false when the file could not be written, and then every value reads as before.
bool write(const QString& section, const QList<std::pair<QString, QString>>& values);
bool write(const QString& section, const QString& key, const QString& value);
// The settings file, for messages.
QString fileName();

} // namespace SettingsStore
