#include "app/startup.h"

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/persian_message_box.h"
#include "storage/database.h"

#include <QApplication>
#include <QCoreApplication>

namespace {
std::function<void()>& endAction()
{
    static std::function<void()> action;
    return action;
}
} // namespace

void startProgram()
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    Database::setProblemReporter([](const QString& message) {
        PersianMsgBox(nullptr, message, 48, QStringLiteral("کروانتا"));
    });
    Form1* main = forms().get<Form1>();
    main->showMaximized();
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
