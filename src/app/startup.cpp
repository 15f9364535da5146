#include "app/startup.h"

#include "app/login_window.h"
#include "storage/database.h"
#include "storage/program_folder.h"
#include "ui/form_registry.h"
#include "ui/persian_message_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
// Point size of the program's face, as its window layouts were drawn for.
constexpr int kFontPointSize = 8;

// Tahoma where it is installed; else the Persian face that the set-up placed beside the
// executable or installed with it (fonts/*.ttf, embedded here as application fonts); else
// Debian's Nazli.
void setUpFont()
{
    static bool embedded = false;
    if (!embedded) {
        embedded = true;
        const QDir fonts(sharedFolder() + QStringLiteral("/fonts"));
        for (const QString& file : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name))
            QFontDatabase::addApplicationFont(fonts.filePath(file));
    }
    const QStringList installed = QFontDatabase::families();
    for (const QString& family :
         {QStringLiteral("Tahoma"), QStringLiteral("Vazirmatn"), QStringLiteral("Nazli")}) {
        if (installed.contains(family)) {
            QApplication::setFont(QFont(family, kFontPointSize));
            return;
        }
    }
    QFont fallback = QApplication::font();
    fallback.setPointSize(kFontPointSize);
    QApplication::setFont(fallback);
}

// Qt's own dialogs (file dialogs, the print preview) in Persian, from Qt's translations.
void setUpQtTranslation()
{
    static QTranslator* translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_fa"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

// An installed program keeps its data in the user's folder, made on the first start.
void setUpProgramFolder()
{
    const QString problem = prepareProgramFolder();
    if (!problem.isEmpty())
        PersianMsgBox(nullptr, problem, MsgBoxStyle::Exclamation, QStringLiteral("کروانتا"));
}

std::function<void()>& endAction()
{
    static std::function<void()> action;
    return action;
}
} // namespace

void startProgram()
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    // The program ends only through endProgram(), never because no window happens to be shown.
    QApplication::setQuitOnLastWindowClosed(false);
    setUpFont();
    setUpProgramFolder();
    setUpQtTranslation();
    Database::setProblemReporter([](const QString& message) {
        PersianMsgBox(nullptr, message, MsgBoxStyle::Exclamation, QStringLiteral("کروانتا"));
    });
    // The login window's load opens the main window, at once or after the login.
    forms().get<Form18>();
}

void endProgram()
{
    forms().unloadAll();
    for (QWidget* widget : QApplication::topLevelWidgets())
        widget->close();
    if (endAction())
        endAction()();
    else
        QCoreApplication::exit(0);
}

void setEndProgramAction(std::function<void()> action)
{
    endAction() = std::move(action);
}
