// The settings file read at start: the keyboard option, the background picture path, the login
// (user name and stored password hash) and the invoice logo path come from the user's INI file,
// which anything may have written. The input is the whole file. Then a text is saved into it
// (the input itself, as the invoice address) and must read back exactly.
#include "orders/invoice_report.h"
#include "settings/software_settings.h"
#include "storage/settings_store.h"
#include "ui/form_registry.h"

#include <QCheckBox>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir* folder = nullptr;

QString settingsFile()
{
    return folder->filePath(QStringLiteral("%1.ini").arg(SettingsStore::kApplication));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: libFuzzer leaves through exit(), after which Qt cannot be torn down.
    new QApplication(*argc, *argv);
    folder = new QTemporaryDir;
    // The folder goes with the run, however libFuzzer ends it.
    std::atexit([] { folder->remove(); });
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder->path());
    // Relative picture paths resolve in the temporary folder, never in the fuzzer's own.
    QDir::setCurrent(folder->path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QFile file(settingsFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    // The software settings window's load: keyboard option, picture path, user name, password.
    // The window is made once; its load reads the file again each time.
    Form16* settings = forms().get<Form16>();
    settings->Check1->setChecked(false);
    settings->Form_Load();
    const QString picture = settings->backgroundPicturePath();
    if (!picture.isEmpty())
        (void)QImageReader(picture).read();
    const QString stored = SettingsStore::read(SettingsStore::kUser, SettingsStore::kPasswordKey);
    (void)LoginPassword::matches(stored, QStringLiteral("password"));

    // The invoice's logo, read at each print.
    ReportControl logo;
    (void)DataReport1::loadPicture(logo, SettingsStore::read(SettingsStore::kPrint, SettingsStore::kLogoPath));

    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsStore::write(SettingsStore::kPrint, SettingsStore::kAddress, text);
    if (SettingsStore::read(SettingsStore::kPrint, SettingsStore::kAddress) != text)
        std::abort();
    return 0;
}
