#include "support/test_support.h"

#include "app/startup.h"
#include "storage/database.h"
#include "storage/edit_state.h"
#include "storage/program_folder.h"
#include "ui/form_registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTest>
#include <QTimer>

TestProgram::TestProgram()
{
    forms().unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Database::closeAll();
    resetEditStates();
    setProgramFolder(m_folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    Database::setProblemReporter([this](const QString& message) { databaseProblems << message; });
    setEndProgramAction([this] { ++endCount; });
}

TestProgram::~TestProgram()
{
    forms().unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Database::closeAll();
    Database::setProblemReporter(nullptr);
    setEndProgramAction(nullptr);
    resetEditStates();
}

QString TestProgram::dbPath() const
{
    return m_folder.path() + QStringLiteral("/db.mdb");
}

struct ModalAnswerer::State
{
    std::function<void(QWidget*)> action;
    QTimer timer;
    int remainingTicks = 0;
    bool done = false;
    SeenModal seen;
};

ModalAnswerer::ModalAnswerer(std::function<void(QWidget*)> action, int timeoutMs)
    : m_state(std::make_shared<State>())
{
    m_state->action = std::move(action);
    m_state->remainingTicks = timeoutMs / 10;
    m_state->timer.setInterval(10);
    std::weak_ptr<State> weak = m_state;
    QObject::connect(&m_state->timer, &QTimer::timeout, [weak] {
        auto state = weak.lock();
        if (!state || state->done)
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            if (--state->remainingTicks <= 0)
                state->timer.stop();
            return;
        }
        state->done = true;
        state->timer.stop();
        state->seen.objectName = modal->objectName();
        state->seen.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            state->seen.text = box->text();
        for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
            state->seen.buttons << b->text();
        state->action(modal);
    });
    m_state->timer.start();
}

ModalAnswerer::ModalAnswerer(const QString& buttonText, int timeoutMs)
    : ModalAnswerer([buttonText](QWidget* modal) {
          if (!clickButton(modal, buttonText))
              qWarning("ModalAnswerer: no button '%s'", qPrintable(buttonText));
      }, timeoutMs)
{
}

ModalAnswerer::~ModalAnswerer()
{
    if (!m_state->done)
        QTest::qFail("no modal window appeared", __FILE__, __LINE__);
    m_state->timer.stop();
}

bool ModalAnswerer::done() const
{
    return m_state->done;
}

const SeenModal& ModalAnswerer::seen() const
{
    return m_state->seen;
}

bool clickButton(QWidget* window, const QString& textOrName)
{
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (b->text() == textOrName || b->objectName() == textOrName) {
            b->click();
            return true;
        }
    }
    return false;
}
